// Parameter records exchanged for a library part's or an element's GDL parameters and for a
// command's parameters.
#pragma once

#include <cstdint>

#include "platform/host_types.h"

namespace platform {

// Parameter type codes.
enum : int32_t {
  kParamInteger = 1, kParamLength = 2, kParamAngle = 3, kParamReal = 4, kParamLightSwitch = 5,
  kParamColour = 6, kParamIntensity = 7, kParamLineStyle = 8, kParamMaterial = 9, kParamFill = 10,
  kParamPen = 11, kParamString = 12, kParamBoolean = 13, kParamSeparator = 14, kParamTitle = 15,
};

// One parameter: 1080 bytes. A scalar number is a double at value; a scalar text is 16-bit
// characters from value (at most 256); an array is a handle at value to rows x columns
// doubles, or to rows x columns zero-terminated 16-bit strings laid end to end.
struct HostParameterRecord {
  int32_t typeID;
  int16_t index;
  int16_t shape;             // 0 scalar, 2 array
  char name[32];             // 8-bit text, zero-terminated
  uint16_t description[256]; // zero-terminated
  int32_t dim1;              // rows of an array
  int32_t dim2;              // columns of an array
  int32_t flags;
  int32_t unused;
  union {
    double real;
    uint16_t text[256];
    GSHandle array;
  } value;
};

static_assert(sizeof(HostParameterRecord) == 1080, "the parameter record is 1080 bytes");

enum : int16_t { kShapeScalar = 0, kShapeArray = 2 };

// Value kinds of the short record.
enum : int32_t { kValueText = 1, kValueInteger = 2, kValueReal = 3 };

// One parameter as the host reports or takes single changes (40 bytes on a 32-bit build).
// The two texts are new zero-terminated buffers (malloc) that the receiver frees.
struct ShortParameterRecord {
  int16_t index;
  int16_t padding;
  char* name;
  int32_t valueKind;         // kValueText, kValueInteger or kValueReal
  uint8_t flag;              // the parameter's flag word is non-zero
  uint8_t padding2[3];
  int32_t integerValue;
  double realValue;
  char* textValue;
};

}  // namespace platform
