#include "model/vector4d.h"

#include <cmath>

#include "check.h"

const Vector4D Vector4D::Zero(0.0f, 0.0f, 0.0f, 0.0f);
const Vector4D Vector4D::UnitX(1.0f, 0.0f, 0.0f, 0.0f);
const Vector4D Vector4D::UnitY(0.0f, 1.0f, 0.0f, 0.0f);
const Vector4D Vector4D::UnitZ(0.0f, 0.0f, 1.0f, 0.0f);
const Vector4D Vector4D::UnitW(0.0f, 0.0f, 0.0f, 1.0f);

Vector4D Vector4D::operator*(float s) const
{
    return Vector4D(float(double(x) * s), float(double(y) * s), float(double(z) * s), float(double(w) * s));
}

Vector4D Vector4D::operator/(float s) const
{
    return Vector4D(float(double(x) / s), float(double(y) / s), float(double(z) / s), float(double(w) / s));
}

Vector4D Vector4D::operator+(const Vector4D& u) const
{
    return Vector4D(float(double(x) + u.x), float(double(y) + u.y), float(double(z) + u.z), float(double(w) + u.w));
}

Vector4D Vector4D::operator-(const Vector4D& u) const
{
    return Vector4D(float(double(x) - u.x), float(double(y) - u.y), float(double(z) - u.z), float(double(w) - u.w));
}

float& Vector4D::operator[](int index)
{
    POLVANE_CHECK(index == 0 || index == 1 || index == 2 || index == 3);
    return index == 0 ? x : index == 1 ? y : index == 2 ? z : w;
}

const float& Vector4D::operator[](int index) const
{
    POLVANE_CHECK(index == 0 || index == 1 || index == 2 || index == 3);
    return index == 0 ? x : index == 1 ? y : index == 2 ? z : w;
}

float Vector4D::Dot(const Vector4D& u) const
{
    return float(double(x) * u.x + double(y) * u.y + double(z) * u.z + double(w) * u.w);
}

float Vector4D::LengthSquared() const
{
    return Dot(*this);
}

float Vector4D::Length() const
{
    return float(std::sqrt(double(LengthSquared())));
}

float Vector4D::DistanceSquared(const Vector4D& u) const
{
    return (*this - u).LengthSquared();
}

float Vector4D::Distance(const Vector4D& u) const
{
    return (*this - u).Length();
}

Vector4D Vector4D::Normalize() const
{
    const float reciprocal = float(1.0 / double(Length()));
    return *this * reciprocal;
}

std::ostream& operator<<(std::ostream& out, const Vector4D& v)
{
    return out << "(" << v.x << ", " << v.y << ", " << v.z << ", " << v.w << ")";
}
