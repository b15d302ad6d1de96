#include "host/library/library_operations.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "host/core/host.h"
#include "platform/parameter_records.h"

namespace standin {

using platform::GSErr;
using platform::GSHandle;
using platform::HostToken;
using platform::kNoError;

namespace {

constexpr uint32_t kPard = platform::fourcc("PARD");

std::string narrow(const uint16_t* text, int size) {
  std::string out;
  for (int i = 0; i < size && text[i]; ++i) out += text[i] < 256 ? char(text[i]) : '?';
  return out;
}

std::string boundedText(const char* text, std::size_t size) { return std::string(text, strnlen(text, size)); }

std::string normalPath(const std::string& path) {
  return std::filesystem::path(FileLibrary::nativePath(path)).lexically_normal().string();
}

// Sections whose data is text with a terminating zero in its handle.
bool isTextSection(uint32_t code) {
  static const uint32_t kText[] = {platform::fourcc("PARD"), platform::fourcc("1DSC"), platform::fourcc("2DSC"),
                                   platform::fourcc("3DSC"), platform::fourcc("VLSC"), platform::fourcc("UISC"),
                                   platform::fourcc("CTXT")};
  for (uint32_t c : kText)
    if (c == code) return true;
  return false;
}

GSHandle bytesHandle(MemoryManager& memory, const std::string& bytes, bool terminate) {
  GSHandle handle = memory.newHandle(int64_t(bytes.size() + (terminate ? 1 : 0)));
  if (handle && !bytes.empty()) std::memcpy(*handle, bytes.data(), bytes.size());
  return handle;
}

// The bytes of a section handle: text sections up to their terminating zero.
bool handleBytes(MemoryManager& memory, GSHandle handle, uint32_t code, std::string& bytes) {
  if (handle && !memory.owns(handle)) return false;
  std::size_t size = std::size_t(memory.size(handle));
  const char* data = handle ? *handle : nullptr;
  bytes.assign(data ? data : "", data ? size : 0);
  if (isTextSection(code)) bytes.resize(strnlen(bytes.data(), bytes.size()));
  return true;
}

bool zeroIdentifier(const std::string& id) {
  for (char c : id)
    if (c != '0' && c != '{' && c != '}' && c != '-') return false;
  return true;
}

// The folder of path is one of the loaded library folders or lies inside one.
bool insideLibrary(Host& host, const std::string& path) {
  std::string p = normalPath(path);
  for (const std::string& folder : host.resolvedLibraryFolders()) {
    std::string f = normalPath(folder);
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    if (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == '/') return true;
  }
  return false;
}

#define ENTER(name)                                          \
  Host* self = Host::current();                              \
  if (!self) return platform::kErrGeneral;                   \
  self->countCall(name)

GSErr getParameters(HostToken, int32_t index, double* sizeA, double* sizeB, GSHandle* parameters) {
  ENTER("HostGetLibraryPartParameters");
  if (!parameters) return platform::kErrNullArgument;
  const LibraryPart* part = self->library().part(index);
  if (!part) return platform::kErrBadIndex;
  GSHandle handle = parameterRecords(self->memory(), part->parameters);
  if (!handle) return platform::kErrMemory;
  *parameters = handle;
  if (sizeA) *sizeA = part->sizeA;
  if (sizeB) *sizeB = part->sizeB;
  return kNoError;
}

GSErr getDetails(HostToken, int32_t index, platform::LibraryPartDetails* details) {
  ENTER("HostGetLibraryPartDetails");
  if (!details) return platform::kErrNullArgument;
  if (!self->library().part(index)) return platform::kErrBadIndex;
  *details = platform::LibraryPartDetails{};
  return kNoError;
}

GSErr getSectionList(HostToken, int32_t index, int32_t* count, GSHandle* headers) {
  ENTER("HostGetLibraryPartSectionList");
  if (!count || !headers) return platform::kErrNullArgument;
  const LibraryPart* part = self->library().part(index);
  if (!part) return platform::kErrBadIndex;
  std::vector<platform::LibraryPartSectionHeader> list;
  list.push_back({kPard, 0, 0});
  for (const PartSection& s : part->sections) list.push_back({s.code, 0, 0});
  GSHandle handle = self->memory().newHandle(int64_t(list.size() * sizeof list[0]));
  if (!handle) return platform::kErrMemory;
  std::memcpy(*handle, list.data(), list.size() * sizeof list[0]);
  *count = int32_t(list.size());
  *headers = handle;
  return kNoError;
}

GSErr getSection(HostToken, int32_t index, const platform::LibraryPartSectionHeader* header, GSHandle* data) {
  ENTER("HostGetLibraryPartSection");
  if (!header || !data) return platform::kErrNullArgument;
  const LibraryPart* part = self->library().part(index);
  if (!part) return platform::kErrBadIndex;
  std::string bytes;
  if (header->code == kPard) {
    bytes = writeParameterLines(part->parameters, part->sizeA, part->sizeB);
  } else {
    const PartSection* section = part->section(header->code);
    if (!section) return platform::kErrBadIndex;
    if (section->data.empty()) return platform::kErrSectionNoData;
    bytes = section->data;
  }
  GSHandle handle = bytesHandle(self->memory(), bytes, isTextSection(header->code));
  if (!handle) return platform::kErrMemory;
  *data = handle;
  return kNoError;
}

GSErr sectionParameters(HostToken, GSHandle parameters, double sizeA, double sizeB, GSHandle* section) {
  ENTER("HostGetLibraryPartSectionParameters");
  if (!section) return platform::kErrNullArgument;
  std::vector<PartParameter> list;
  if (parameters && !readParameterRecords(self->memory(), parameters, list)) return platform::kErrBadParameter;
  GSHandle handle = bytesHandle(self->memory(), writeParameterLines(list, sizeA, sizeB), true);
  if (!handle) return platform::kErrMemory;
  *section = handle;
  return kNoError;
}

GSErr endSection(HostToken, const platform::LibraryPartRecord* record, GSHandle section,
                 const platform::LibraryPartDetails*) {
  ENTER("HostEndLibraryPartSection");
  if (!record || !section) return platform::kErrNullArgument;
  std::string text, problem;
  std::vector<PartParameter> list;
  double a = 1, b = 1;
  if (!handleBytes(self->memory(), section, kPard, text) || !readParameterLines(text, list, a, b, problem))
    return platform::kErrBadParameter;
  return kNoError;
}

// Puts section data into a part: 'PARD' replaces its parameters and size.
GSErr putSection(Host& host, LibraryPart& part, uint32_t code, GSHandle data) {
  std::string bytes;
  if (!handleBytes(host.memory(), data, code, bytes)) return platform::kErrBadParameter;
  if (code == kPard) {
    std::vector<PartParameter> list;
    double a = part.sizeA, b = part.sizeB;
    std::string problem;
    if (!readParameterLines(bytes, list, a, b, problem)) return platform::kErrBadParameter;
    part.parameters = std::move(list);
    part.sizeA = a;
    part.sizeB = b;
    return kNoError;
  }
  part.setSection(code, std::move(bytes));
  return kNoError;
}

GSErr addSection(HostToken, int32_t index, const platform::LibraryPartSectionHeader* header, GSHandle data) {
  ENTER("HostAddLibraryPartSection");
  if (!header) return platform::kErrNullArgument;
  LibraryPart* part = self->library().part(index);
  if (!part) return platform::kErrBadIndex;
  LibraryPart changed = *part;
  GSErr err = putSection(*self, changed, header->code, data);
  if (err != kNoError) return err;
  std::string problem;
  if (!LibraryIndex::writePart(changed, problem)) return platform::kErrFile;
  *part = std::move(changed);
  self->library().noteChanged();
  return kNoError;
}

GSErr createPart(HostToken, const platform::LibraryPartRecord* record) {
  ENTER("HostCreateLibraryPart");
  if (!record) return platform::kErrNullArgument;
  if (!record->location || !self->memory().owns(record->location) || record->typeID == 0)
    return platform::kErrBadParameter;
  std::string path = boundedText(*record->location, std::size_t(self->memory().size(record->location)));
  if (path.empty() || !insideLibrary(*self, path)) return platform::kErrBadParameter;
  LibraryIndex& library = self->library();
  if (self->files().kind(path.c_str()) != 0 && !library.overwrite()) return platform::kErrFile;
  LibraryPart part;
  part.path = normalPath(path);
  part.typeID = record->typeID;
  part.name = narrow(record->name, 256);
  if (part.name.empty()) part.name = std::filesystem::path(path).stem().string();
  part.ownId = boundedText(record->ownId, sizeof record->ownId);
  part.parentId = boundedText(record->parentId, sizeof record->parentId);
  part.optionFlag1 = record->optionFlag1;
  part.optionFlag2 = record->optionFlag2;
  part.value1040 = record->value1040;
  library.startPending(std::move(part));
  return kNoError;
}

GSErr writeSection(HostToken, const platform::LibraryPartSectionHeader* header, GSHandle data) {
  ENTER("HostWriteLibraryPartSection");
  if (!header) return platform::kErrNullArgument;
  LibraryPart* part = self->library().pending();
  if (!part) return platform::kErrGeneral;
  return putSection(*self, *part, header->code, data);
}

GSErr savePart(HostToken, platform::LibraryPartRecord* record) {
  ENTER("HostSaveLibraryPart");
  if (!record) return platform::kErrNullArgument;
  LibraryIndex& library = self->library();
  LibraryPart* pending = library.pending();
  if (!pending) return platform::kErrGeneral;
  if (pending->ownId.empty() || zeroIdentifier(pending->ownId)) pending->ownId = library.newIdentifier();
  std::string problem;
  bool written = LibraryIndex::writePart(*pending, problem);
  std::string path = pending->path;
  library.dropPending();
  if (!written) return platform::kErrFile;
  self->touchLibrary();
  int32_t index = self->library().findPath(path);
  if (index == 0) return platform::kErrFile;
  return fillPartRecord(*self, index, record);
}

#undef ENTER

}  // namespace

GSErr fillPartRecord(Host& host, int32_t index, platform::LibraryPartRecord* record) {
  const LibraryPart* part = host.library().part(index);
  if (!part) return platform::kErrBadIndex;
  *record = platform::LibraryPartRecord{};
  record->typeID = part->typeID;
  record->index = index;
  platform::toWide(part->name.c_str(), record->name, 256);
  std::string file = part->path.substr(part->path.find_last_of('/') + 1);
  platform::toWide(file.c_str(), record->fileName, 256);
  record->optionFlag1 = part->optionFlag1;
  record->optionFlag2 = part->optionFlag2;
  record->value1040 = part->value1040;
  std::strncpy(record->ownId, part->ownId.c_str(), sizeof record->ownId - 1);
  std::strncpy(record->parentId, part->parentId.c_str(), sizeof record->parentId - 1);
  record->location = bytesHandle(host.memory(), part->path, true);
  return kNoError;
}

GSErr searchPart(Host& host, platform::LibraryPartRecord* record) {
  std::string name = narrow(record->name, 256);
  int32_t index = 0;
  if (!name.empty()) index = host.library().find(name, record->typeID);
  else if (record->ownId[0]) index = host.library().findId(boundedText(record->ownId, sizeof record->ownId), record->typeID);
  if (index == 0) return platform::kErrBadIndex;
  return fillPartRecord(host, index, record);
}

GSErr libraryGoodies(Host& host, uint32_t code, void* p1, void* p2, void* p3) {
  switch (code) {
    case platform::fourcc("CLPS"): {
      if (!p1 || !p2 || !p3) return platform::kErrNullArgument;
      bool yes = host.library().descends(static_cast<const char*>(p1), static_cast<const char*>(p2));
      *static_cast<int32_t*>(p3) = yes ? 1 : 0;
      return kNoError;
    }
    case platform::fourcc("GLUI"): {
      if (!p1 || !p2) return platform::kErrNullArgument;
      // A part embedded as a library-part resource, or as a file resource (whose payload may
      // follow its 32-bit length).
      int32_t id = *static_cast<const int32_t*>(p1);
      const platform::ResourceEntry* entry =
          ResourceManager::find(host.resources().current(), platform::kResourceLibraryPart, id);
      if (!entry) entry = ResourceManager::find(host.resources().current(), platform::kResourceFile, id);
      if (!entry) return platform::kErrBadIndex;
      std::string bytes(reinterpret_cast<const char*>(entry->data), entry->size);
      LibraryPart part;
      std::string problem;
      if (!readPartText(bytes, part, problem) && (bytes.size() < 4 || !readPartText(bytes.substr(4), part, problem)))
        return platform::kErrBadParameter;
      char* out = static_cast<char*>(p2);
      std::memset(out, 0, 128);
      std::strncpy(out, part.ownId.c_str(), 127);
      return kNoError;
    }
    case platform::fourcc("CMPI"): {
      if (!p1 || !p2 || !p3) return platform::kErrNullArgument;
      GSHandle data = static_cast<GSHandle>(p1);
      if (std::strcmp(static_cast<const char*>(p2), "image/png") != 0) return platform::kErrBadParameter;
      std::string bytes;
      if (!handleBytes(host.memory(), data, 0, bytes)) return platform::kErrBadParameter;
      if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return platform::kErrBadParameter;
      GSHandle image = bytesHandle(host.memory(), bytes, false);
      if (!image) return platform::kErrMemory;
      *static_cast<GSHandle*>(p3) = image;
      return kNoError;
    }
    default:
      return platform::kErrBadParameter;
  }
}

GSErr libraryEnvironment(Host& host, uint32_t code, void* p1, void*, void*) {
  if (code == platform::fourcc("OWLP")) {
    if (!p1) return platform::kErrNullArgument;
    host.library().setOverwrite(*static_cast<const int32_t*>(p1) != 0);
    return kNoError;
  }
  return platform::kErrBadParameter;
}

std::vector<BuiltInFile> builtInFiles(const platform::ResourceModule* module) {
  std::vector<BuiltInFile> files;
  const platform::ResourceEntry* list = ResourceManager::find(module, platform::kResourceBuiltInLibrary, 1);
  if (!list) return files;
  std::string text(reinterpret_cast<const char*>(list->data), list->size);
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t stop = text.find('\n', at);
    if (stop == std::string::npos) stop = text.size();
    std::string line = text.substr(at, stop - at);
    at = stop + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t tab = line.find('\t');
    if (line.empty() || line[0] == '#' || tab == std::string::npos || tab + 1 >= line.size()) continue;
    char* end = nullptr;
    long id = std::strtol(line.c_str(), &end, 10);
    if (end != line.c_str() + tab || id < 1 || id > 0x7FFFFFFF) continue;
    const platform::ResourceEntry* entry = ResourceManager::find(module, platform::kResourceFile, int32_t(id));
    if (!entry) continue;
    std::string bytes(reinterpret_cast<const char*>(entry->data), entry->size);
    if (bytes.size() >= 4) {
      uint32_t n = 0;
      for (int i = 3; i >= 0; --i) n = (n << 8) | uint8_t(bytes[std::size_t(i)]);
      if (n == bytes.size() - 4) bytes.erase(0, 4);
    }
    files.push_back({line.substr(tab + 1), std::move(bytes)});
  }
  return files;
}

GSHandle parameterRecords(MemoryManager& memory, const std::vector<PartParameter>& parameters) {
  GSHandle handle = memory.newHandle(int64_t(parameters.size() * sizeof(platform::HostParameterRecord)));
  if (!handle) return nullptr;
  auto* records = reinterpret_cast<platform::HostParameterRecord*>(*handle);
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const PartParameter& p = parameters[i];
    platform::HostParameterRecord& r = records[i];
    r.typeID = p.typeID;
    r.index = int16_t(i);
    r.flags = p.flags;
    std::strncpy(r.name, p.name.c_str(), sizeof r.name - 1);
    platform::toWide(p.description.c_str(), r.description, 256);
    if (!p.isArray) {
      r.shape = platform::kShapeScalar;
      if (p.isText()) platform::toWide(p.texts.empty() ? "" : p.texts[0].c_str(), r.value.text, 256);
      else r.value.real = p.numbers.empty() ? 0.0 : p.numbers[0];
      continue;
    }
    r.shape = platform::kShapeArray;
    r.dim1 = p.rows;
    r.dim2 = p.columns;
    std::size_t n = p.valueCount();
    GSHandle values = nullptr;
    if (p.isText()) {
      std::vector<uint16_t> wide;
      for (std::size_t k = 0; k < n; ++k) {
        const std::string& t = k < p.texts.size() ? p.texts[k] : std::string();
        for (char c : t) wide.push_back(static_cast<unsigned char>(c));
        wide.push_back(0);
      }
      values = memory.newHandle(int64_t(wide.size() * 2));
      if (values) std::memcpy(*values, wide.data(), wide.size() * 2);
    } else {
      values = memory.newHandle(int64_t(n * sizeof(double)));
      if (values)
        for (std::size_t k = 0; k < n; ++k) reinterpret_cast<double*>(*values)[k] = k < p.numbers.size() ? p.numbers[k] : 0.0;
    }
    if (!values) {
      disposeParameterRecords(memory, handle);
      return nullptr;
    }
    r.value.array = values;
  }
  return handle;
}

bool readParameterRecords(MemoryManager& memory, GSHandle handle, std::vector<PartParameter>& parameters) {
  if (!handle || !memory.owns(handle)) return false;
  std::size_t size = std::size_t(memory.size(handle));
  if (size % sizeof(platform::HostParameterRecord) != 0) return false;
  std::size_t count = size / sizeof(platform::HostParameterRecord);
  const auto* records = reinterpret_cast<const platform::HostParameterRecord*>(*handle);
  std::vector<PartParameter> out;
  for (std::size_t i = 0; i < count; ++i) {
    const platform::HostParameterRecord& r = records[i];
    PartParameter p;
    p.typeID = r.typeID;
    if (parameterKindName(p.typeID).empty()) return false;
    p.name = boundedText(r.name, sizeof r.name);
    if (p.name.empty()) return false;
    p.description = narrow(r.description, 256);
    p.flags = r.flags;
    if (r.shape == platform::kShapeArray) {
      p.isArray = true;
      p.rows = r.dim1 > 0 ? r.dim1 : 1;
      p.columns = r.dim2 > 0 ? r.dim2 : 1;
      std::size_t n = p.valueCount();
      GSHandle values = r.value.array;
      if (!values || !memory.owns(values)) return false;
      std::size_t bytes = std::size_t(memory.size(values));
      if (p.isText()) {
        const auto* wide = reinterpret_cast<const uint16_t*>(*values);
        std::size_t at = 0, chars = bytes / 2;
        for (std::size_t k = 0; k < n; ++k) {
          std::string t;
          while (at < chars && wide[at]) t += wide[at] < 256 ? char(wide[at]) : '?', ++at;
          ++at;
          p.texts.push_back(t);
        }
      } else {
        if (bytes < n * sizeof(double)) return false;
        const auto* d = reinterpret_cast<const double*>(*values);
        p.numbers.assign(d, d + n);
      }
    } else if (p.typeID != platform::kParamSeparator && p.typeID != platform::kParamTitle) {
      if (p.isText()) p.texts.push_back(narrow(r.value.text, 256));
      else p.numbers.push_back(r.value.real);
    }
    out.push_back(std::move(p));
  }
  parameters = std::move(out);
  return true;
}

void disposeParameterRecords(MemoryManager& memory, GSHandle handle) {
  if (!handle || !memory.owns(handle)) return;
  std::size_t count = std::size_t(memory.size(handle)) / sizeof(platform::HostParameterRecord);
  auto* records = reinterpret_cast<platform::HostParameterRecord*>(*handle);
  for (std::size_t i = 0; i < count; ++i)
    if (records[i].shape == platform::kShapeArray) memory.dispose(records[i].value.array);
  memory.dispose(handle);
}

void installLibraryOperations(platform::HostFunctionTable& t) {
  t.HostGetLibraryPartParameters = &getParameters;
  t.HostGetLibraryPartDetails = &getDetails;
  t.HostGetLibraryPartSectionList = &getSectionList;
  t.HostGetLibraryPartSection = &getSection;
  t.HostGetLibraryPartSectionParameters = &sectionParameters;
  t.HostEndLibraryPartSection = &endSection;
  t.HostAddLibraryPartSection = &addSection;
  t.HostCreateLibraryPart = &createPart;
  t.HostWriteLibraryPartSection = &writeSection;
  t.HostSaveLibraryPart = &savePart;
}

}  // namespace standin
