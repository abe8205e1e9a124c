#include "model/vector3d.h"

#include <cmath>

#include "check.h"

const Vector3D Vector3D::Zero(0.0f, 0.0f, 0.0f);
const Vector3D Vector3D::UnitX(1.0f, 0.0f, 0.0f);
const Vector3D Vector3D::UnitY(0.0f, 1.0f, 0.0f);
const Vector3D Vector3D::UnitZ(0.0f, 0.0f, 1.0f);

Vector3D Vector3D::operator*(float s) const
{
    return Vector3D(float(double(x) * s), float(double(y) * s), float(double(z) * s));
}

Vector3D Vector3D::operator/(float s) const
{
    return Vector3D(float(double(x) / s), float(double(y) / s), float(double(z) / s));
}

Vector3D Vector3D::operator+(const Vector3D& u) const
{
    return Vector3D(float(double(x) + u.x), float(double(y) + u.y), float(double(z) + u.z));
}

Vector3D Vector3D::operator-(const Vector3D& u) const
{
    return Vector3D(float(double(x) - u.x), float(double(y) - u.y), float(double(z) - u.z));
}

float& Vector3D::operator[](int index)
{
    POLVANE_CHECK(index == 0 || index == 1 || index == 2);
    return index == 0 ? x : index == 1 ? y : z;
}

const float& Vector3D::operator[](int index) const
{
    POLVANE_CHECK(index == 0 || index == 1 || index == 2);
    return index == 0 ? x : index == 1 ? y : z;
}

float Vector3D::Dot(const Vector3D& u) const
{
    return float(double(x) * u.x + double(y) * u.y + double(z) * u.z);
}

Vector3D Vector3D::Cross(const Vector3D& u) const
{
    return Vector3D(float(double(y) * u.z - double(z) * u.y),
                    float(double(z) * u.x - double(x) * u.z),
                    float(double(x) * u.y - double(y) * u.x));
}

float Vector3D::LengthSquared() const
{
    return Dot(*this);
}

float Vector3D::Length() const
{
    return float(std::sqrt(double(LengthSquared())));
}

float Vector3D::DistanceSquared(const Vector3D& u) const
{
    return (*this - u).LengthSquared();
}

float Vector3D::Distance(const Vector3D& u) const
{
    return (*this - u).Length();
}

Vector3D Vector3D::Normalize() const
{
    const float reciprocal = float(1.0 / double(Length()));
    return *this * reciprocal;
}

Vector3D operator*(float s, const Vector3D& v)
{
    return v * s;
}

std::ostream& operator<<(std::ostream& out, const Vector3D& v)
{
    return out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
