// Named settings of the framing tool, and the package that lists them.
#pragma once

#include <cstdint>
#include <memory>

#include "prefs/package_codes.h"
#include "runtime/cad_string.h"
#include "storage/package.h"
#include "storage/xml_shipping_list.h"

namespace varnholt {

// One framing template: the values it gives a member and, for each, whether it applies it.
class FramingTemplate : public lunvik::XMLShippingAssembly {
 public:
  // A template labelled "Untitled" (string 18 of list 32525), otherwise in its reset state.
  FramingTemplate();

  lunvik::CadString label;       // "label"
  lunvik::CadString name;        // "name"
  lunvik::CadString startJoint;  // "startJoint", a joint name
  lunvik::CadString endJoint;    // "endJoint", a joint name
  lunvik::CadString type;        // "type"
  double width = 0.0;            // "width", metres
  double depth = 0.0;            // "depth", metres
  double length = 0.0;           // "length", metres
  short fillPen = 0;             // "fillPen"
  short edgePen = 1;             // "edgePen"
  bool startState = false;       // "startState"
  bool endState = false;         // "endState"
  bool useName = false;          // "useName"
  bool useStart = false;         // "useStart"
  bool useEnd = false;           // "useEnd"
  bool useType = false;          // "useType"
  bool useWidth = false;         // "useWidth"
  bool useDepth = false;         // "useDepth"
  bool useLength = false;        // "useLength"
  bool useFill = false;          // "useFill"
  bool useEdge = false;          // "useEdge"
  lunvik::CadString midJoint1;   // "midJoint1", a joint name
  lunvik::CadString midJoint2;   // "midJoint2"
  lunvik::CadString midJoint3;   // "midJoint3"
  bool mid1State = false;        // "mid1State"
  bool mid2State = false;        // "mid2State"
  bool mid3State = false;        // "mid3State"
  bool useMid1 = false;          // "useMid1"
  bool useMid2 = false;          // "useMid2"
  bool useMid3 = false;          // "useMid3"
  double midOffset1 = 0.0;       // "midOffset1", metres
  double midOffset2 = 0.0;       // "midOffset2"
  double midOffset3 = 0.0;       // "midOffset3"

  // The element name, "frameTemplate".
  static const lunvik::CadString& tag();
  // Replaces a legacy key of the first twenty-one fields by the field's tag; false for others.
  static bool translateKey(lunvik::CadString& key);

  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Empties every string (the label too), zeroes the numbers, sets the edge pen to 1 and
  // every flag false.
  void reset() override;
};

// The framing-template package ('FRTP', "frameTemplatePrefs").
class FramingTemplatePrefs : public lunvik::Package {
 public:
  static constexpr uint32_t kCode = kFramingTemplatePrefsCode;

  lunvik::XMLShippingList<FramingTemplate> frameTemplateList{"frameTemplateList"};  // of "frameTemplate"

  // The templates.
  lunvik::List<FramingTemplate>& templates() { return frameTemplateList.items(); }
  const lunvik::List<FramingTemplate>& templates() const { return frameTemplateList.items(); }

  // The element name, "frameTemplatePrefs".
  static const lunvik::CadString& tag();

  lunvik::Package* clone() const override;
  lunvik::Package* listCopy() const override { return clone(); }
  uint32_t code() const override { return kCode; }
  const lunvik::CadString& tagName() const override { return tag(); }
  std::size_t count() const override;
  std::unique_ptr<lunvik::Shipping> child(std::size_t index) override;
  // Empties the list.
  void reset() override;
  // "frameTemplatePrefs" -> "frameTemplateList" -> "frameTemplate", and the templates' keys.
  bool translateLegacyKey(lunvik::CadString& key) const override;
};

}  // namespace varnholt
