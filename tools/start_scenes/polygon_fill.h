// Filling letter outlines: closed contours grouped into shapes (an outer
// contour and the holes inside it) and each shape cut into triangles by ear
// clipping, the holes first bridged into the outer contour.
#pragma once

#include <array>
#include <vector>

namespace morvanex {

struct Point2 {
    double x = 0.0, y = 0.0;
};

// A closed polygon; the last point joins the first.
using Contour = std::vector<Point2>;
using Triangle2 = std::array<Point2, 3>;

// Positive for a counter-clockwise contour (y up).
double signedArea(const Contour& contour);
bool pointInContour(const Contour& contour, Point2 p);

// An outer contour, counter-clockwise, with its holes, clockwise.
struct Shape {
    Contour outer;
    std::vector<Contour> holes;
};

// Sorts contours of any orientation into shapes by nesting: a contour inside
// an odd number of others is a hole of the smallest outer contour holding
// it. Contours with fewer than three points or no area are dropped.
std::vector<Shape> groupContours(std::vector<Contour> contours);

// Triangles covering the shape exactly, counter-clockwise; every corner is
// a point of the shape's contours.
std::vector<Triangle2> fillShape(const Shape& shape);

}  // namespace morvanex
