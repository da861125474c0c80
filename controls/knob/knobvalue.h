#pragma once
// The knob's number and how the user changes it: arrow steps (added, or multiplied in the
// multiplicative mode), turns of the dial, the reset to the initial value, and the clamping to
// the range. A change that would give a value that is not finite is ignored.
#include <cstdint>
#include <string>
#include <string_view>

namespace karvel {

struct KnobValue {
  float value = 0.0f;
  float maxValue = -1000.0f;
  float minValue = -1000.0f;
  float initValue = 0.0f;
  float increment = 10.0f;
  // 0 additive, anything else multiplicative.
  std::int32_t incMode = 0;

  // The right arrow: + increment, or x increment; then clamped to the range.
  void StepUp();
  // The left arrow: - increment, or / increment; then clamped.
  void StepDown();
  // A turn of the dial by angle radians (turns of a whole circle or more are ignored): one degree
  // moves the value by the increment (a thirtieth of it in the additive mode); then clamped,
  // turned or not. True when the turn was applied.
  bool Turn(double angle);
  // The initial value, whatever the range.
  void Reset() { value = initValue; }

 private:
  // Takes v when finite, clamped: above the maximum the maximum, below the minimum the minimum.
  void TakeClamped(double v);
};

// The turn between two points relative to the dial centre: asin(x1 / r1) - asin(x0 / r0),
// negated when y1 > 0 (the lower half); 0 when either point is the centre.
double TurnAngle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);

// The knob's face text: the caption is a printf format with one floating-point argument. It is
// used as one only when it holds exactly one floating conversion (f, F, e, E, g, G with flags,
// width and precision, "%%" allowed); any other caption shows as it is.
std::string FormatCaption(std::string_view caption, double value);

}  // namespace karvel
