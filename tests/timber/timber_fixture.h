// A loaded host with a new project open, the timber library and the timber fixtures' parts
// loaded, and helpers that place timber members with the host's own tool, tag them with
// their kind code and give them the 3D body the generators make of their values.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/bodies/body_store.h"
#include "host/library/library_index.h"
#include "host/model/project_model.h"
#include "host/model/stored_parameter.h"
#include "model/drawing.h"
#include "model/project.h"
#include "platform/library_records.h"
#include "runtime/addon.h"
#include "support/loaded_host.h"
#include "timber/crafted.h"
#include "timber/framing_member.h"

namespace testing_support {

// A value for a member's parameter: a number, a text or a whole array.
struct MemberValue {
  double number = 0;
  std::string text;
  std::vector<double> cells;
  enum class Kind { number, text, cells } kind = Kind::number;
  MemberValue(double n) : number(n) {}  // NOLINT: values read as they are written
  MemberValue(const char* t) : text(t), kind(Kind::text) {}  // NOLINT
  MemberValue(std::vector<double> c) : cells(std::move(c)), kind(Kind::cells) {}  // NOLINT
};

using MemberValues = std::vector<std::pair<std::string, MemberValue>>;

class TimberHost : public LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    host().newProject();
    ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_SOURCE_DIR) + "/library"));
    ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_FIXTURES) + "/timber/library"));
  }

  standin::ProjectModel& model() { return host().model(); }
  lunvik::Project& project() { return *lunvik::theAddon()->project(); }
  lunvik::Plan& plan() { return project().plan(); }

  // Places a member of the part with its defaults and the given values at (x, y, z) turned
  // by angle, with userData as its user data ("" for none) and, when withBody, the body its
  // values make. The element is set to that state after the add-on has seen it placed.
  standin::HostElement* placeMember(const std::string& part, const MemberValues& values, const std::string& userData,
                                    bool withBody = true, double x = 0, double y = 0, double z = 0,
                                    double angle = 0, int32_t typeID = platform::kObject) {
    standin::HostElement* e = model().placeObject(part, {}, x, y, z, angle, nullptr, typeID);
    if (!e) return nullptr;
    const standin::LibraryPart* lib = host().library().part(e->record.part.libIndex);
    if (!lib) return nullptr;
    std::map<std::string, const MemberValue*> given;
    for (const auto& v : values) given[lower(v.first)] = &v.second;
    e->parameters.clear();
    for (const standin::PartParameter& p : lib->parameters) {
      standin::PartParameter q = p;
      auto it = given.find(lower(p.name));
      if (it != given.end()) {
        const MemberValue& v = *it->second;
        if (v.kind == MemberValue::Kind::text) q.texts = {v.text};
        else if (v.kind == MemberValue::Kind::cells) q.numbers = v.cells;
        else if (!q.numbers.empty()) q.numbers[0] = v.number;
        given.erase(it);
      }
      e->parameters.push_back(standin::storedParameter(q, int16_t(e->parameters.size())));
    }
    // Exactly the state asked for, whatever the add-on made of the new element.
    e->hasUserData = !userData.empty();
    e->userData = userData;
    e->userFlags = 0;
    e->record.header.hasUserData = userData.empty() ? 0 : 1;
    model().touch(*e);
    if (withBody) refreshBody(*e);
    return e;
  }

  // Gives the element the body its current values make.
  void refreshBody(const standin::HostElement& e) {
    standin::BodySource source;
    for (const standin::StoredParameter& sp : e.parameters) source.parameters.push_back(standin::partParameter(sp));
    source.placement = {e.record.part.pos.x, e.record.part.pos.y, e.record.part.level, e.record.part.angle,
                        e.record.part.mirrored != 0};
    host().bodies().place(e.record.header.typeID, e.record.header.index, source);
  }

  // The element as the add-on reads it from the plan.
  std::unique_ptr<lunvik::Element> read(const standin::HostElement& e) {
    lunvik::ElementLink link(e.record.header);
    return plan().findByGuid(link);
  }

  // The element read as a timber, or null; the element stays owned by holder.
  template <typename T = varnholt::Crafted>
  T* readAs(const standin::HostElement& e, std::unique_ptr<lunvik::Element>& holder) {
    holder = read(e);
    return holder ? dynamic_cast<T*>(holder.get()) : nullptr;
  }

  // A stored number of the host's element (its first value); NaN when missing.
  static double hostNumber(const standin::HostElement& e, const std::string& name, std::size_t cell = 0) {
    for (const standin::StoredParameter& sp : e.parameters)
      if (lower(sp.record.name) == lower(name)) {
        if (sp.record.shape == platform::kShapeArray) return cell < sp.numbers.size() ? sp.numbers[cell] : nan();
        return sp.record.value.real;
      }
    return nan();
  }

  // A stored text of the host's element; "<missing>" when there is none.
  static std::string hostText(const standin::HostElement& e, const std::string& name, std::size_t cell = 0) {
    for (const standin::StoredParameter& sp : e.parameters)
      if (lower(sp.record.name) == lower(name)) {
        if (sp.record.shape == platform::kShapeArray) return cell < sp.texts.size() ? sp.texts[cell] : "<missing>";
        std::string out;
        for (std::size_t i = 0; i < 256 && sp.record.value.text[i]; ++i) out += char(sp.record.value.text[i]);
        return out;
      }
    return "<missing>";
  }

  // Gives the host's element, in place of its parameter of that name, one of the kind and
  // shape given: a single value when columns is 0, else rows x columns values row by row
  // (numbers, or texts for a string parameter).
  static void reshapeParameter(standin::HostElement& e, const std::string& name, int32_t typeID, int32_t rows,
                               int32_t columns, std::vector<double> numbers, std::vector<std::string> texts = {}) {
    for (std::size_t i = 0; i < e.parameters.size(); ++i)
      if (lower(e.parameters[i].record.name) == lower(name)) {
        standin::PartParameter p;
        p.name = name;
        p.typeID = typeID;
        p.isArray = columns > 0;
        p.rows = rows;
        p.columns = columns > 0 ? columns : 1;
        p.numbers = std::move(numbers);
        p.texts = std::move(texts);
        e.parameters[i] = standin::storedParameter(p, int16_t(i));
        return;
      }
  }

  // Removes a parameter from the host's element.
  static void dropParameter(standin::HostElement& e, const std::string& name) {
    for (std::size_t i = 0; i < e.parameters.size(); ++i)
      if (lower(e.parameters[i].record.name) == lower(name)) {
        e.parameters.erase(e.parameters.begin() + std::ptrdiff_t(i));
        break;
      }
    for (std::size_t i = 0; i < e.parameters.size(); ++i) e.parameters[i].record.index = int16_t(i);
  }

 private:
  static double nan() { return std::numeric_limits<double>::quiet_NaN(); }
  static std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }

};

}  // namespace testing_support
