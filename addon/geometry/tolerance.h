// Shared constants of the geometry kernel: the tolerance, angles and location codes.
#pragma once

namespace lunvik {

// The tolerance of every test for zero and for equality of lengths (metres) and angles (radians).
constexpr double kTolerance = 0.00001;
// The tolerance of matrix equality.
constexpr double kMatrixTolerance = 0.000001;

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kHalfPi = 0.5 * kPi;

// The index that searches answer when nothing was found.
constexpr int kNotFound = 2147483647;

// Location codes: single bits, so that callers combine the codes they accept into masks.
// For lines 1 is beyond the end and 16 beyond the start; for arcs 1 is outside the circle
// and 16 inside it; for polygons and boxes 1 is outside and 16 inside.
enum LocationCode : int {
  kLocNone = 0,       // no answer: degenerate shape, or not on it
  kLocOutside = 1,    // off the shape on one side
  kLocStart = 2,      // at the start
  kLocOn = 4,         // on the shape, between start and end
  kLocEnd = 8,        // at the end
  kLocInside = 16,    // off the shape on the other side
  kLocOnCircle = 32,  // on an arc's circle outside the arc
};

// Every location code: the mask that accepts them all.
constexpr int kLocAny = 63;

}  // namespace lunvik
