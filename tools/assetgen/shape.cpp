#include "tools/assetgen/shape.h"

#include <algorithm>

namespace {
constexpr float kPi = 3.14159265358979f;

Bounds Around(Vec2 c, float rx, float ry) { return {c.x - rx, c.y - ry, c.x + rx, c.y + ry}; }
Bounds Merge(const Bounds& a, const Bounds& b) {
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}
Bounds Overlap(const Bounds& a, const Bounds& b) {
  return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}
float SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  Vec2 ab = b - a, ap = p - a;
  float len2 = Dot(ab, ab);
  float t = len2 > 0 ? std::clamp(Dot(ap, ab) / len2, 0.0f, 1.0f) : 0.0f;
  return Length(ap - ab * t);
}
}  // namespace

Vec2 Polar(Vec2 centre, float radius, float degrees) {
  float a = degrees * kPi / 180;
  return {centre.x + std::cos(a) * radius, centre.y + std::sin(a) * radius};
}

Vec2 RotatePoint(Vec2 p, Vec2 pivot, float degrees) {
  float a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
  Vec2 d = p - pivot;
  return {pivot.x + d.x * c - d.y * s, pivot.y + d.x * s + d.y * c};
}

Shape Circle(Vec2 centre, float radius) {
  return Shape([=](Vec2 p) { return Length(p - centre) - radius; }, Around(centre, radius, radius));
}

Shape Ellipse(Vec2 centre, float rx, float ry) {
  // Scaled-circle distance: exact on the axes, close enough elsewhere for
  // the ellipse proportions pixel art uses.
  float k = std::min(rx, ry);
  return Shape([=](Vec2 p) { return (Length({(p.x - centre.x) / rx, (p.y - centre.y) / ry}) - 1) * k; },
               Around(centre, rx, ry));
}

Shape Box(Vec2 centre, Vec2 half, float cornerRadius) {
  return Shape(
      [=](Vec2 p) {
        float qx = std::fabs(p.x - centre.x) - half.x + cornerRadius;
        float qy = std::fabs(p.y - centre.y) - half.y + cornerRadius;
        float outside = Length({std::max(qx, 0.0f), std::max(qy, 0.0f)});
        return outside + std::min(std::max(qx, qy), 0.0f) - cornerRadius;
      },
      Around(centre, half.x, half.y));
}

Shape Capsule(Vec2 a, Vec2 b, float radius) {
  Bounds box{std::min(a.x, b.x) - radius, std::min(a.y, b.y) - radius, std::max(a.x, b.x) + radius,
             std::max(a.y, b.y) + radius};
  return Shape([=](Vec2 p) { return SegmentDistance(p, a, b) - radius; }, box);
}

Shape Polygon(std::vector<Vec2> points) {
  Bounds box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (Vec2 q : points) box = Merge(box, {q.x, q.y, q.x, q.y});
  return Shape(
      [pts = std::move(points)](Vec2 p) {
        float best = 1e9f;
        bool inside = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
          Vec2 a = pts[i], b = pts[j];
          best = std::min(best, SegmentDistance(p, a, b));
          if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
        return inside ? -best : best;
      },
      box);
}

Shape Ring(Vec2 centre, float radius, float halfWidth) {
  float r = radius + halfWidth;
  return Shape([=](Vec2 p) { return std::fabs(Length(p - centre) - radius) - halfWidth; }, Around(centre, r, r));
}

Shape Star(Vec2 centre, int corners, float outer, float inner, float degrees) {
  std::vector<Vec2> pts;
  for (int i = 0; i < corners * 2; ++i)
    pts.push_back(Polar(centre, i % 2 ? inner : outer, degrees + 180.0f * i / corners));
  return Polygon(pts);
}

Shape RegularPolygon(Vec2 centre, int corners, float radius, float degrees) {
  std::vector<Vec2> pts;
  for (int i = 0; i < corners; ++i) pts.push_back(Polar(centre, radius, degrees + 360.0f * i / corners));
  return Polygon(pts);
}

Shape Stroke(const std::vector<Vec2>& points, float halfWidth) {
  std::vector<Shape> parts;
  for (size_t i = 1; i < points.size(); ++i) parts.push_back(Capsule(points[i - 1], points[i], halfWidth));
  return Union(parts);
}

Shape Union(const Shape& a, const Shape& b) {
  return Shape([=](Vec2 p) { return std::min(a.Distance(p), b.Distance(p)); }, Merge(a.Extent(), b.Extent()));
}

Shape Union(const std::vector<Shape>& shapes) {
  Bounds box = shapes[0].Extent();
  for (const Shape& s : shapes) box = Merge(box, s.Extent());
  return Shape(
      [=](Vec2 p) {
        float d = 1e9f;
        for (const Shape& s : shapes) d = std::min(d, s.Distance(p));
        return d;
      },
      box);
}

Shape Subtract(const Shape& a, const Shape& cut) {
  return Shape([=](Vec2 p) { return std::max(a.Distance(p), -cut.Distance(p)); }, a.Extent());
}

Shape Intersect(const Shape& a, const Shape& b) {
  return Shape([=](Vec2 p) { return std::max(a.Distance(p), b.Distance(p)); }, Overlap(a.Extent(), b.Extent()));
}

Shape Grow(const Shape& a, float by) {
  const Bounds& e = a.Extent();
  return Shape([=](Vec2 p) { return a.Distance(p) - by; }, {e.x0 - by, e.y0 - by, e.x1 + by, e.y1 + by});
}

Shape Rotate(const Shape& a, Vec2 pivot, float degrees) {
  // The bounds of a turned shape: the circle about the pivot through its farthest corner.
  const Bounds& e = a.Extent();
  float r = 0;
  for (Vec2 c : {Vec2{e.x0, e.y0}, Vec2{e.x1, e.y0}, Vec2{e.x0, e.y1}, Vec2{e.x1, e.y1}})
    r = std::max(r, Length(c - pivot));
  return Shape([=](Vec2 p) { return a.Distance(RotatePoint(p, pivot, -degrees)); }, Around(pivot, r, r));
}

Shape Translate(const Shape& a, Vec2 by) {
  const Bounds& e = a.Extent();
  return Shape([=](Vec2 p) { return a.Distance(p - by); }, {e.x0 + by.x, e.y0 + by.y, e.x1 + by.x, e.y1 + by.y});
}

Shape MirrorX(const Shape& a, float axis) {
  const Bounds& e = a.Extent();
  return Shape([=](Vec2 p) { return a.Distance({2 * axis - p.x, p.y}); }, {2 * axis - e.x1, e.y0, 2 * axis - e.x0, e.y1});
}
