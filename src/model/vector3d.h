#ifndef POLVANE_VECTOR3D_H
#define POLVANE_VECTOR3D_H

#include <ostream>

#include "model/vector2d.h"

// Three single-precision components: positions and normals. Every operation computes in double precision and
// rounds each result component to single precision once.
class Vector3D {
public:
    float x, y, z;

    Vector3D() : x(0.0f), y(0.0f), z(0.0f) {}
    Vector3D(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}
    Vector3D(const Vector2D& v, float zValue) : x(v.x), y(v.y), z(zValue) {}

    Vector3D operator*(float s) const;
    Vector3D operator/(float s) const;
    Vector3D operator+(const Vector3D& u) const;
    Vector3D operator-(const Vector3D& u) const;
    Vector3D& operator*=(float s) { return *this = *this * s; }
    Vector3D& operator/=(float s) { return *this = *this / s; }
    Vector3D& operator+=(const Vector3D& u) { return *this = *this + u; }
    Vector3D& operator-=(const Vector3D& u) { return *this = *this - u; }
    bool operator==(const Vector3D& u) const { return x == u.x && y == u.y && z == u.z; }
    bool operator!=(const Vector3D& u) const { return !(*this == u); }

    float& operator[](int index);
    const float& operator[](int index) const;

    float Dot(const Vector3D& u) const;
    Vector3D Cross(const Vector3D& u) const;
    float LengthSquared() const;
    float Length() const;
    float DistanceSquared(const Vector3D& u) const;
    float Distance(const Vector3D& u) const;
    // Multiplies by the rounded reciprocal of Length(); the zero vector gives NaN components.
    Vector3D Normalize() const;
    Vector2D ToVector2D() const { return Vector2D(x, y); }

    static const Vector3D Zero;
    static const Vector3D UnitX;
    static const Vector3D UnitY;
    static const Vector3D UnitZ;
};

Vector3D operator*(float s, const Vector3D& v);
std::ostream& operator<<(std::ostream& out, const Vector3D& v);

#endif
