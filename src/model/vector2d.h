#ifndef POLVANE_VECTOR2D_H
#define POLVANE_VECTOR2D_H

#include <ostream>

// Two single-precision components. Every operation computes in double precision and rounds each result
// component to single precision once.
class Vector2D {
public:
    float x, y;

    Vector2D() : x(0.0f), y(0.0f) {}
    Vector2D(float xValue, float yValue) : x(xValue), y(yValue) {}

    Vector2D operator*(float s) const;
    Vector2D operator/(float s) const;
    Vector2D operator+(const Vector2D& u) const;
    Vector2D operator-(const Vector2D& u) const;
    Vector2D& operator*=(float s) { return *this = *this * s; }
    Vector2D& operator/=(float s) { return *this = *this / s; }
    Vector2D& operator+=(const Vector2D& u) { return *this = *this + u; }
    Vector2D& operator-=(const Vector2D& u) { return *this = *this - u; }
    bool operator==(const Vector2D& u) const { return x == u.x && y == u.y; }
    bool operator!=(const Vector2D& u) const { return !(*this == u); }

    float& operator[](int index);
    const float& operator[](int index) const;

    float Dot(const Vector2D& u) const;
    // The z component of (x, y, 0) x (u.x, u.y, 0).
    float Cross(const Vector2D& u) const;
    float LengthSquared() const;
    float Length() const;
    float DistanceSquared(const Vector2D& u) const;
    float Distance(const Vector2D& u) const;
    // Each component divided by Length(); the zero vector gives NaN components.
    Vector2D Normalize() const;

    static const Vector2D Zero;
    static const Vector2D UnitX;
    static const Vector2D UnitY;
};

std::ostream& operator<<(std::ostream& out, const Vector2D& v);

#endif
