// Shapes as signed distance functions in virtual pixels (the 1x frame grid):
// negative inside, positive outside. Every picture is described once with
// these and rasterised at each resolution, so the larger files resolve the
// same curves with more pixels instead of magnifying the small ones.
#pragma once
#include <cmath>
#include <functional>
#include <vector>

struct Vec2 {
  float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }
// The point at `degrees` on a circle, 0 pointing right, growing clockwise on screen.
Vec2 Polar(Vec2 centre, float radius, float degrees);
Vec2 RotatePoint(Vec2 p, Vec2 pivot, float degrees);

// Axis-aligned box that holds every point where a shape can reach.
struct Bounds {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class Shape {
 public:
  Shape(std::function<float(Vec2)> distance, Bounds bounds) : distance_(std::move(distance)), bounds_(bounds) {}
  float Distance(Vec2 p) const { return distance_(p); }
  const Bounds& Extent() const { return bounds_; }

 private:
  std::function<float(Vec2)> distance_;
  Bounds bounds_;
};

Shape Circle(Vec2 centre, float radius);
Shape Ellipse(Vec2 centre, float rx, float ry);
Shape Box(Vec2 centre, Vec2 half, float cornerRadius = 0);
Shape Capsule(Vec2 a, Vec2 b, float radius);
Shape Polygon(std::vector<Vec2> points);
Shape Ring(Vec2 centre, float radius, float halfWidth);
// A regular star (points = 0 for a plain polygon of `corners` corners).
Shape Star(Vec2 centre, int corners, float outer, float inner, float degrees);
Shape RegularPolygon(Vec2 centre, int corners, float radius, float degrees);
// A thick polyline, each segment a capsule.
Shape Stroke(const std::vector<Vec2>& points, float halfWidth);

Shape Union(const Shape& a, const Shape& b);
Shape Union(const std::vector<Shape>& shapes);
Shape Subtract(const Shape& a, const Shape& cut);
Shape Intersect(const Shape& a, const Shape& b);
Shape Grow(const Shape& a, float by);
Shape Rotate(const Shape& a, Vec2 pivot, float degrees);
Shape Translate(const Shape& a, Vec2 by);
// Mirror left-right about the vertical line x = axis.
Shape MirrorX(const Shape& a, float axis);
