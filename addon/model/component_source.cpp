#include "model/component_source.h"

#include <cstring>

#include "model/library.h"
#include "platform/parameter_records.h"
#include "runtime/host_interface.h"
#include "runtime/memory.h"
#include "storage/data_file.h"

namespace lunvik {

using platform::HostFunctionTable;

namespace {

CadString narrow(const uint16_t* text, std::size_t max) {
  std::string out;
  for (std::size_t i = 0; i < max && text[i]; ++i) out += text[i] < 256 ? char(text[i]) : '?';
  return CadString(out);
}

platform::GSHandle copyHandle(platform::GSHandle handle) {
  if (!handle) return nullptr;
  return newHandle(*handle, handleSize(handle));
}

// The last path component of a path (either separator).
std::string lastComponent(const std::string& path) {
  std::size_t at = path.find_last_of("/\\");
  return at == std::string::npos ? path : path.substr(at + 1);
}

template <typename T>
std::unique_ptr<ComponentSource> create(const platform::LibraryPartRecord& record, const ComponentLink& link) {
  return std::make_unique<T>(record, link);
}

}  // namespace

const SourceCreatorEntry kSourceCreators[8] = {
    {platform::kPartWindow, &create<WindowSource>},     {platform::kPartDoor, &create<DoorSource>},
    {platform::kPartObject, &create<ObjectSource>},     {platform::kPartLamp, &create<LampSource>},
    {platform::kPartZone, &create<ZoneSource>},         {platform::kPartProperty, &create<PropertySource>},
    {platform::kPartLabel, &create<LabelSource>},       {platform::kPartMacro, &create<MacroSource>},
};

const SubtypeEntry kSubtypeAncestry[6] = {
    {"{11E85B84-8DD1-491B-A2FE-337454A91545}-{9CD857B9-18A7-4F56-80E4-3E80CF98C51C}", platform::kPartDoor},
    {"{BDB8C3EE-4019-46C8-91D0-7A8DE0A5EC6D}-{1A63DAB2-6C58-40F5-A8CF-66C24221E66B}", platform::kPartLabel},
    {"{51A838E5-0F40-4F6D-A658-CF2845581749}-{0FEEC221-485B-4E33-AB14-BEF539A03456}", platform::kPartLamp},
    {"{8F157ABA-E5C9-48B6-9DCE-68F0F02A808E}-{09EA47C2-E2A1-4805-94C8-B19BB097C5D7}", platform::kPartProperty},
    {"{4ABD0A6E-634B-4931-B3AA-9BEE01F35CDF}-{71F409AA-4D0A-4152-BF03-8E77782C8DD6}", platform::kPartWindow},
    {"{A73622DE-E40A-4E63-ADB7-52D13422BD06}-{8BAE3C2B-6B64-4F5B-8144-851BE94F4F39}", platform::kPartZone},
};

// ---- ComponentSource ----------------------------------------------------------------------

ComponentSource::ComponentSource(const platform::LibraryPartRecord& record, const ComponentLink& link)
    : record_(record), link_(link) {
  record_.location = handleSize(record.location) ? copyHandle(record.location) : nullptr;
}

ComponentSource::ComponentSource(const ComponentSource& other) : record_(other.record_), link_(other.link_) {
  record_.location = copyHandle(other.record_.location);
}

ComponentSource::~ComponentSource() { disposeHandle(record_.location); }

std::unique_ptr<ComponentSource> ComponentSource::clone() const { return std::make_unique<ComponentSource>(*this); }

CadString ComponentSource::ownId() const { return CadString(record_.ownId, strnlen(record_.ownId, sizeof record_.ownId)); }

CadString ComponentSource::parentId() const {
  return CadString(record_.parentId, strnlen(record_.parentId, sizeof record_.parentId));
}

void ComponentSource::setLink(const ComponentLink& link) {
  link_ = link;
  record_.index = link.index();
}

void ComponentSource::setOwnId(const CadString& id) {
  std::memset(record_.ownId, 0, sizeof record_.ownId);
  std::strncpy(record_.ownId, id.truncated(sizeof record_.ownId - 1).c_str(), sizeof record_.ownId - 1);
}

void ComponentSource::setParentId(const CadString& id) {
  std::memset(record_.parentId, 0, sizeof record_.parentId);
  std::strncpy(record_.parentId, id.truncated(sizeof record_.parentId - 1).c_str(), sizeof record_.parentId - 1);
}

void ComponentSource::setName(const CadString& name) { platform::toWide(name.c_str(), record_.name, 256); }

void ComponentSource::setFileName(const CadString& name) { platform::toWide(name.c_str(), record_.fileName, 256); }

void ComponentSource::setLocation(const DataFile& file) {
  disposeHandle(record_.location);
  record_.location = nullptr;
  const std::string& path = file.path().str();
  if (path.empty()) return;
  record_.location = newHandle(path.c_str(), path.size() + 1);
  std::string fileName = lastComponent(path);
  std::size_t dot = fileName.rfind('.');
  setName(CadString(dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot)));
  setFileName(CadString(fileName));
}

void ComponentSource::forgetIndex() {
  link_.setIndex(0);
  link_.setLibrary(nullptr);
  record_.index = 0;
}

CadString ComponentSource::name() const { return narrow(record_.name, 256); }

CadString ComponentSource::fileName() const { return narrow(record_.fileName, 256); }

CadString ComponentSource::location() const {
  std::size_t size = handleSize(record_.location);
  return size ? CadString(*record_.location, strnlen(*record_.location, size)) : CadString();
}

std::unique_ptr<ComponentSource> MacroSource::clone() const { return std::make_unique<MacroSource>(*this); }

// ---- ParametricSource ---------------------------------------------------------------------

ParametricSource::ParametricSource(const platform::LibraryPartRecord& record, const ComponentLink& link)
    : ComponentSource(record, link), sections_(this) {}

ParametricSource::ParametricSource(const ParametricSource& other)
    : ComponentSource(other),
      parameters_(other.parameters_),
      sections_(this),
      sizeA_(other.sizeA_),
      sizeB_(other.sizeB_),
      parametersLoaded_(other.parametersLoaded_) {
  sections_.copyFrom(other.sections_);
  if (other.details_) details_ = std::make_unique<platform::LibraryPartDetails>(*other.details_);
}

ParametricSource::~ParametricSource() = default;

std::unique_ptr<ComponentSource> ParametricSource::clone() const { return std::make_unique<ParametricSource>(*this); }

void ParametricSource::forgetIndex() {
  // The content is read from the part while it still has one, so that it is saved anew.
  if (index() != 0) {
    parameters();
    if (!sections_.loaded()) sections_.load();
    details();
  }
  ComponentSource::forgetIndex();
}

ComponentParameters& ParametricSource::parameters() {
  if (parametersLoaded_ || index() == 0) return parameters_;
  parametersLoaded_ = true;
  platform::GSHandle handle = nullptr;
  double a = 0, b = 0;
  platform::GSErr err =
      host().call(&HostFunctionTable::HostGetLibraryPartParameters, index(), &a, &b, &handle);
  if (err != platform::kNoError) {
    lastError_ = err;
    return parameters_;
  }
  if (parameters_.read(handle)) {
    sizeA_ = a;
    sizeB_ = b;
  }
  ComponentParameters::disposeRecords(handle);
  return parameters_;
}

double ParametricSource::height() {
  double value = 0;
  const ComponentParameter* p = parameters().parameter("zzyzx");
  if (p && p->typeID == platform::kParamLength && !p->numbers.empty()) value = p->numbers[0];
  return value;
}

CadString ParametricSource::sectionText(uint32_t code) {
  if (!sections_.loaded()) sections_.load();
  platform::GSHandle h = sections_.get(code);
  std::size_t size = handleSize(h);
  return size ? CadString(*h, strnlen(*h, size)) : CadString();
}

void ParametricSource::setSectionText(uint32_t code, const CadString& text) {
  if (!sections_.loaded() && index() != 0) sections_.load();
  platform::GSHandle h = newHandle(text.c_str(), text.size() + 1);
  if (h) sections_.set(code, h);
  if (code == kSectionValues) valueLists_.reset();
}

CadString ParametricSource::masterScript() { return sectionText(kSectionMaster); }
CadString ParametricSource::script2D() { return sectionText(kSection2D); }
CadString ParametricSource::script3D() { return sectionText(kSection3D); }
CadString ParametricSource::comment() { return sectionText(kSectionComment); }
CadString ParametricSource::parameterScript() { return sectionText(kSectionValues); }
CadString ParametricSource::interfaceScript() { return sectionText(kSectionInterface); }
void ParametricSource::setMasterScript(const CadString& text) { setSectionText(kSectionMaster, text); }
void ParametricSource::setScript2D(const CadString& text) { setSectionText(kSection2D, text); }
void ParametricSource::setScript3D(const CadString& text) { setSectionText(kSection3D, text); }
void ParametricSource::setComment(const CadString& text) { setSectionText(kSectionComment, text); }
void ParametricSource::setParameterScript(const CadString& text) { setSectionText(kSectionValues, text); }
void ParametricSource::setInterfaceScript(const CadString& text) { setSectionText(kSectionInterface, text); }

const TextRecord* ParametricSource::valueList(const CadString& parameterName) {
  if (!valueLists_) valueLists_ = parseValueLists(parameterScript());
  long at = valueLists_->find(parameterName);
  return at < 0 ? nullptr : valueLists_->record(std::size_t(at));
}

platform::GSHandle ParametricSource::picture() {
  if (!sections_.loaded()) sections_.load();
  return sections_.get(kSectionPicture);
}

platform::GSHandle ParametricSource::preview() {
  if (!sections_.loaded()) sections_.load();
  platform::GSHandle data = sections_.get(kSectionPreview);
  if (!data) return nullptr;
  platform::GSHandle image = nullptr;
  platform::GSErr err = host().call(&HostFunctionTable::HostGoodies, platform::fourcc("CMPI"), data,
                                    const_cast<char*>("image/png"), &image);
  if (err != platform::kNoError) {
    lastError_ = err;
    return nullptr;
  }
  return image;
}

void ParametricSource::setSizeA(double value) {
  parameters();
  sizeA_ = value;
  setA(value);
}

void ParametricSource::setSizeB(double value) {
  parameters();
  sizeB_ = value;
  setB(value);
}

bool ParametricSource::setA(double value) { return parameters().setNumber("A", value); }
bool ParametricSource::setB(double value) { return parameters().setNumber("B", value); }
bool ParametricSource::setHeight(double value) { return parameters().setNumber("zzyzx", value); }

const platform::LibraryPartDetails& ParametricSource::details() {
  if (details_) return *details_;
  details_ = std::make_unique<platform::LibraryPartDetails>();
  std::memset(details_.get(), 0, sizeof *details_);
  if (index() != 0) {
    platform::GSErr err = host().call(&HostFunctionTable::HostGetLibraryPartDetails, index(), details_.get());
    if (err != platform::kNoError) {
      lastError_ = err;
      std::memset(details_.get(), 0, sizeof *details_);
    }
  }
  return *details_;
}

// ---- value lists --------------------------------------------------------------------------

std::unique_ptr<TextDatabase> parseValueLists(const CadString& script) {
  auto table = std::make_unique<TextDatabase>();
  table->setHeader(std::make_unique<TextRecord>());
  const std::string& text = script.str();
  std::string upperText = script.upper().str();
  // A quoted string starting at or after from, on the line that ends at lineEnd.
  auto quotedAt = [&](std::size_t from, std::size_t lineEnd, std::size_t& start, std::size_t& stop) {
    for (std::size_t i = from; i < lineEnd; ++i) {
      char q = text[i];
      if (q != '"' && q != '\'') continue;
      std::size_t close = text.find(q, i + 1);
      if (close == std::string::npos || close >= lineEnd) return false;
      start = i;
      stop = close;
      return true;
    }
    return false;
  };
  auto lineEndOf = [&](std::size_t at) {
    std::size_t e = text.find('\n', at);
    return e == std::string::npos ? text.size() : e;
  };
  std::size_t at = 0;
  while ((at = upperText.find("VALUES", at)) != std::string::npos) {
    at += 6;
    std::size_t lineEnd = lineEndOf(at);
    std::size_t start = 0, stop = 0;
    // The name: the first quoted string after the keyword.
    std::size_t from = at;
    while (from < text.size()) {
      if (quotedAt(from, lineEnd, start, stop)) break;
      if (lineEnd >= text.size()) break;
      from = lineEnd + 1;
      lineEnd = lineEndOf(from);
    }
    if (stop <= start || stop >= text.size() || text[stop] != text[start]) continue;
    std::string name = text.substr(start + 1, stop - start - 1);
    at = stop + 1;
    if (name.empty()) continue;
    auto record = std::make_unique<TextRecord>();
    record->add(CadString(name));
    std::size_t pos = stop + 1;
    bool first = true;
    for (;;) {
      std::size_t s = 0, e = 0;
      // Between two values only blanks and a comma (after the name, only blanks).
      std::size_t next = pos;
      bool comma = false;
      while (next < lineEnd && (text[next] == ' ' || text[next] == '\t' || text[next] == ',' || text[next] == '\r')) {
        comma = comma || text[next] == ',';
        ++next;
      }
      if (next < lineEnd && (comma || first) && (text[next] == '"' || text[next] == '\'') &&
          quotedAt(next, lineEnd, s, e)) {
        record->add(CadString(text.substr(s + 1, e - s - 1)));
        pos = e + 1;
        first = false;
        continue;
      }
      // A line that ends with a comma continues on the next one.
      std::size_t last = lineEnd;
      while (last > pos && (text[last - 1] == ' ' || text[last - 1] == '\t' || text[last - 1] == '\r')) --last;
      bool continues = last > pos && text[last - 1] == ',' && lineEnd < text.size();
      if (!continues) {
        at = std::max(at, pos);
        break;
      }
      pos = lineEnd + 1;
      lineEnd = lineEndOf(pos);
      first = true;  // the first value of a continued line follows the comma of the last
    }
    table->add(std::move(record));
  }
  return table;
}

}  // namespace lunvik
