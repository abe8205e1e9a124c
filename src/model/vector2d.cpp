#include "model/vector2d.h"

#include <cmath>

#include "check.h"
#include "model/vector3d.h"

const Vector2D Vector2D::Zero(0.0f, 0.0f);
const Vector2D Vector2D::UnitX(1.0f, 0.0f);
const Vector2D Vector2D::UnitY(0.0f, 1.0f);

Vector2D Vector2D::operator*(float s) const
{
    return Vector2D(float(double(x) * s), float(double(y) * s));
}

Vector2D Vector2D::operator/(float s) const
{
    return Vector2D(float(double(x) / s), float(double(y) / s));
}

Vector2D Vector2D::operator+(const Vector2D& u) const
{
    return Vector2D(float(double(x) + u.x), float(double(y) + u.y));
}

Vector2D Vector2D::operator-(const Vector2D& u) const
{
    return Vector2D(float(double(x) - u.x), float(double(y) - u.y));
}

float& Vector2D::operator[](int index)
{
    POLVANE_CHECK(index == 0 || index == 1);
    return index == 0 ? x : y;
}

const float& Vector2D::operator[](int index) const
{
    POLVANE_CHECK(index == 0 || index == 1);
    return index == 0 ? x : y;
}

float Vector2D::Dot(const Vector2D& u) const
{
    return float(double(x) * u.x + double(y) * u.y);
}

float Vector2D::Cross(const Vector2D& u) const
{
    return Vector3D(x, y, 0.0f).Cross(Vector3D(u.x, u.y, 0.0f)).z;
}

float Vector2D::LengthSquared() const
{
    return Dot(*this);
}

float Vector2D::Length() const
{
    return float(std::sqrt(double(LengthSquared())));
}

float Vector2D::DistanceSquared(const Vector2D& u) const
{
    return (*this - u).LengthSquared();
}

float Vector2D::Distance(const Vector2D& u) const
{
    return (*this - u).Length();
}

Vector2D Vector2D::Normalize() const
{
    return *this / Length();
}

std::ostream& operator<<(std::ostream& out, const Vector2D& v)
{
    return out << "(" << v.x << ", " << v.y << ")";
}
