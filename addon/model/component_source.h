// The content of one library part: its record and link, and for parametric parts their
// parameters with defaults, their sections, box size, details and value lists.
#pragma once

#include <cstdint>
#include <memory>

#include "model/component_link.h"
#include "model/component_parameters.h"
#include "model/component_section.h"
#include "platform/library_records.h"
#include "runtime/cad_string.h"
#include "storage/text_database.h"

namespace lunvik {

class DataFile;

// Any library part.
class ComponentSource {
 public:
  // A source of the part record describes (the record's location is copied).
  ComponentSource(const platform::LibraryPartRecord& record, const ComponentLink& link);
  ComponentSource(const ComponentSource& other);
  ComponentSource& operator=(const ComponentSource&) = delete;
  // Frees the record's location.
  virtual ~ComponentSource();

  // A copy of the same class.
  virtual std::unique_ptr<ComponentSource> clone() const;
  // The part's index in the loaded libraries (0 = none).
  virtual int32_t index() const { return link_.index(); }
  // The part's own identifier text.
  virtual CadString ownId() const;
  // Its parent's identifier text.
  virtual CadString parentId() const;
  // The 1336-byte record.
  virtual const platform::LibraryPartRecord& record() const { return record_; }

  const ComponentLink& link() const { return link_; }
  // The link; the record takes its index.
  void setLink(const ComponentLink& link);
  // The identifiers (at most 127 bytes are kept).
  void setOwnId(const CadString& id);
  void setParentId(const CadString& id);
  // The name and file name (at most 255 characters are kept).
  void setName(const CadString& name);
  void setFileName(const CadString& name);
  void setOptionFlag1(bool on) { record_.optionFlag1 = on ? 1 : 0; }
  void setOptionFlag2(bool on) { record_.optionFlag2 = on ? 1 : 0; }
  void setValue1040(int16_t value) { record_.value1040 = value; }
  // The part's location becomes the file's (none when its path is empty); the name and the
  // file name become the file's name without and with its extension.
  void setLocation(const DataFile& file);
  // Index 0 and no library: the next save creates a new part.
  virtual void forgetIndex();

  CadString name() const;
  CadString fileName() const;
  // The record's location as a path; empty when it has none.
  CadString location() const;
  // The record, writable (the library updates it when saving).
  platform::LibraryPartRecord& recordForSaving() { return record_; }
  void setRecordType(int32_t type) { record_.typeID = type; }

 private:
  platform::LibraryPartRecord record_{};
  ComponentLink link_;
};

// A macro part.
class MacroSource : public ComponentSource {
 public:
  using ComponentSource::ComponentSource;
  std::unique_ptr<ComponentSource> clone() const override;
};

// A part with parameters and scripts.
class ParametricSource : public ComponentSource {
 public:
  ParametricSource(const platform::LibraryPartRecord& record, const ComponentLink& link);
  ParametricSource(const ParametricSource& other);
  ~ParametricSource() override;
  std::unique_ptr<ComponentSource> clone() const override;
  // Reads the parameters, sections and details first, then forgets the index.
  void forgetIndex() override;

  // The value of the length parameter "zzyzx", 0 without one.
  virtual double height();
  // The texts of the master, 2D, 3D, parameter and interface scripts and the comment (empty
  // when the section is absent).
  virtual CadString masterScript();
  virtual CadString script2D();
  virtual CadString script3D();
  virtual CadString comment();
  virtual CadString parameterScript();
  virtual CadString interfaceScript();
  // The value list of a parameter from the parameter script's VALUES statements: the record
  // whose first field is the name, the values following; null when it has none.
  virtual const TextRecord* valueList(const CadString& parameterName);
  // The 'PICT' handle (owned by the source), or null.
  virtual platform::GSHandle picture();
  // A new handle with the preview as a PNG image (owned by the caller), or null.
  virtual platform::GSHandle preview();
  // Stores the box size A (B) and sets the length parameter "A" ("B").
  virtual void setSizeA(double value);
  virtual void setSizeB(double value);
  // Sets the parameter "A" ("B", "zzyzx") only.
  virtual bool setA(double value);
  virtual bool setB(double value);
  virtual bool setHeight(double value);
  // Replace a section's text.
  virtual void setMasterScript(const CadString& text);
  virtual void setScript2D(const CadString& text);
  virtual void setScript3D(const CadString& text);
  virtual void setComment(const CadString& text);
  virtual void setParameterScript(const CadString& text);
  virtual void setInterfaceScript(const CadString& text);
  virtual int32_t reserved27() { return 0; }
  // The 3200-byte details record: the host's for a part with an index, zeroed otherwise.
  virtual const platform::LibraryPartDetails& details();

  // The parameters with their defaults, loaded from the host on first use (a part without
  // an index has none until they are set).
  ComponentParameters& parameters();
  // The sections.
  ComponentSection& sections() { return sections_; }
  double sizeA() { parameters(); return sizeA_; }
  double sizeB() { parameters(); return sizeB_; }
  // The source's last host failure.
  platform::GSErr lastError() const { return lastError_; }
  void setLastError(platform::GSErr code) { lastError_ = code; }
  bool parametersLoaded() const { return parametersLoaded_; }

 private:
  CadString sectionText(uint32_t code);
  void setSectionText(uint32_t code, const CadString& text);

  ComponentParameters parameters_;
  ComponentSection sections_;
  double sizeA_ = 0;
  double sizeB_ = 0;
  bool parametersLoaded_ = false;
  std::unique_ptr<platform::LibraryPartDetails> details_;
  std::unique_ptr<TextDatabase> valueLists_;
  platform::GSErr lastError_ = platform::kNoError;
};

// The parametric kinds.
#define LUNVIK_PARAMETRIC_SOURCE(Name, Base)                                             \
  class Name : public Base {                                                             \
   public:                                                                               \
    using Base::Base;                                                                    \
    std::unique_ptr<ComponentSource> clone() const override {                            \
      return std::make_unique<Name>(*this);                                              \
    }                                                                                    \
  };
LUNVIK_PARAMETRIC_SOURCE(PropertySource, ParametricSource)
LUNVIK_PARAMETRIC_SOURCE(ObjectSource, ParametricSource)
LUNVIK_PARAMETRIC_SOURCE(LampSource, ParametricSource)
LUNVIK_PARAMETRIC_SOURCE(LabelSource, ParametricSource)
LUNVIK_PARAMETRIC_SOURCE(ZoneSource, ParametricSource)
LUNVIK_PARAMETRIC_SOURCE(JoinerySource, ParametricSource)
LUNVIK_PARAMETRIC_SOURCE(DoorSource, JoinerySource)
LUNVIK_PARAMETRIC_SOURCE(WindowSource, JoinerySource)
#undef LUNVIK_PARAMETRIC_SOURCE

// Makes the source of a record's type, or null for another type.
using SourceCreator = std::unique_ptr<ComponentSource> (*)(const platform::LibraryPartRecord& record,
                                                           const ComponentLink& link);

// The framework's source creators, one per part type (2 window ... 10 macro).
struct SourceCreatorEntry {
  int32_t type;
  SourceCreator create;
};
extern const SourceCreatorEntry kSourceCreators[8];

// The host subtypes that refine a part's type by its ancestry, in the order they are asked.
struct SubtypeEntry {
  const char* identifier;
  int32_t type;
};
extern const SubtypeEntry kSubtypeAncestry[6];

// The value lists of a parameter script: one record per VALUES statement (name first, then
// its quoted values), after an empty header record.
std::unique_ptr<TextDatabase> parseValueLists(const CadString& script);

}  // namespace lunvik
