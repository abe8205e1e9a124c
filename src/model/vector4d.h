#ifndef POLVANE_VECTOR4D_H
#define POLVANE_VECTOR4D_H

#include <ostream>

#include "model/vector2d.h"
#include "model/vector3d.h"

// Four single-precision components. Every operation computes in double precision and rounds each result
// component to single precision once.
class Vector4D {
public:
    float x, y, z, w;

    Vector4D() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}
    Vector4D(float xValue, float yValue, float zValue, float wValue) : x(xValue), y(yValue), z(zValue), w(wValue) {}
    Vector4D(const Vector2D& v, float zValue, float wValue) : x(v.x), y(v.y), z(zValue), w(wValue) {}
    Vector4D(const Vector3D& v, float wValue) : x(v.x), y(v.y), z(v.z), w(wValue) {}

    Vector4D operator*(float s) const;
    Vector4D operator/(float s) const;
    Vector4D operator+(const Vector4D& u) const;
    Vector4D operator-(const Vector4D& u) const;
    Vector4D& operator*=(float s) { return *this = *this * s; }
    Vector4D& operator/=(float s) { return *this = *this / s; }
    Vector4D& operator+=(const Vector4D& u) { return *this = *this + u; }
    Vector4D& operator-=(const Vector4D& u) { return *this = *this - u; }
    bool operator==(const Vector4D& u) const { return x == u.x && y == u.y && z == u.z && w == u.w; }
    bool operator!=(const Vector4D& u) const { return !(*this == u); }

    float& operator[](int index);
    const float& operator[](int index) const;

    float Dot(const Vector4D& u) const;
    float LengthSquared() const;
    float Length() const;
    float DistanceSquared(const Vector4D& u) const;
    float Distance(const Vector4D& u) const;
    // Multiplies by the rounded reciprocal of Length(); the zero vector gives NaN components.
    Vector4D Normalize() const;
    Vector2D ToVector2D() const { return Vector2D(x, y); }
    Vector3D ToVector3D() const { return Vector3D(x, y, z); }

    static const Vector4D Zero;
    static const Vector4D UnitX;
    static const Vector4D UnitY;
    static const Vector4D UnitZ;
    static const Vector4D UnitW;
};

std::ostream& operator<<(std::ostream& out, const Vector4D& v);

#endif
