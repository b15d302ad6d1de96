// The stand-in host's project file: JSON text with a versioned schema (README.md, "Project
// files"), read into and written from a plain ProjectData.
//
// Schema version 1, one object per section:
//   {
//     "format": "trestlar-project",              required
//     "version": 1,                              required, a whole number
//     "settings": {                              required
//       "workingUnits": "metric" | "imperial" | a unit's name (below),   required
//       "groupsSuspended": false                 optional, default false
//     },
//     "library": { "folders": ["library"] },     optional, default no folders
//     "moduleData": {                            optional, absent when the add-on stored none
//       "encoding": "text" | "base64",           optional, default "text"
//       "data": "..."                            required in the section
//     }
//   }
// Keys this build does not know, at the top level or inside a section, are ignored: a newer
// revision of the same version only adds keys. A change older builds would misread raises
// "version", and a file of another version is refused.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace standin {

// The schema version this build writes; it reads this one and version 1 (which has no model
// sections of its own; those a version-1 file carries are read as version 2 reads them).
constexpr int kProjectFileVersion = 2;
// The oldest schema version this build reads.
constexpr int kOldestProjectFileVersion = 1;
// The value of the "format" key that marks a project file.
extern const char* const kProjectFileFormat;

// The project's working length unit; the numbers are those HostEnvironment 'GWUN' answers,
// the metric units first. A file names them "metres", "centimetres", "millimetres",
// "feetAndFractionalInches", "feetAndDecimalInches", "decimalFeet", "fractionalInches" and
// "decimalInches"; "metric" reads as metres and "imperial" as feet and fractional inches, and
// those two units are written under those names.
enum class WorkingUnits : int32_t {
  Metres = 0,
  Centimetres = 1,
  Millimetres = 2,
  FeetAndFractionalInches = 3,
  FeetAndDecimalInches = 4,
  DecimalFeet = 5,
  FractionalInches = 6,
  DecimalInches = 7,
  Metric = Metres,
  Imperial = FeetAndFractionalInches,
};
// The units in code order.
constexpr WorkingUnits kAllWorkingUnits[] = {
    WorkingUnits::Metres,      WorkingUnits::Centimetres,   WorkingUnits::Millimetres,
    WorkingUnits::FeetAndFractionalInches, WorkingUnits::FeetAndDecimalInches, WorkingUnits::DecimalFeet,
    WorkingUnits::FractionalInches,        WorkingUnits::DecimalInches};
// True for metres, centimetres and millimetres.
constexpr bool isMetric(WorkingUnits units) { return int32_t(units) >= 0 && int32_t(units) <= 2; }
// The name a project file writes for a unit ("metric", "imperial" or the unit's own name);
// null for a value that is no unit.
const char* workingUnitsName(WorkingUnits units);
// The unit a project file's name stands for; false for a name that is none.
bool workingUnitsOf(const std::string& name, WorkingUnits& units);

// The project's host settings.
struct ProjectSettings {
  WorkingUnits workingUnits = WorkingUnits::Metric;
  bool groupsSuspended = false;
};

// A storey of the plan.
struct FileStorey {
  int32_t index = 0;
  double elevation = 0;
  std::string name;
};

// A layer attribute.
struct FileLayer {
  int32_t index = 0;
  std::string name;
  bool hidden = false;
  bool locked = false;
};

// A database beyond the plan and the 3D model: a section, elevation, detail and so on.
struct FileDatabase {
  std::string kind;        // "section", "detail", "elevation", "interiorElevation", "layout",
                           // "masterLayout", "worksheet", "document3D"
  int32_t index = 0;       // from 1, unique per kind
  int32_t number = 0;      // the database's number (with kind and index its identity)
  std::string name;
  double cut[4] = {0, 0, 0, 0};  // a cut plane's line: x1, y1, x2, y2
  double angle = 0;              // and its view angle
};

// A GDL parameter of an element.
struct FileParameter {
  std::string name;
  std::string type;        // "integer", "length", "angle", "real", "lightSwitch", "colour",
                           // "intensity", "lineType", "material", "fill", "pen", "string",
                           // "boolean", "separator", "title"
  int32_t flags = 0;
  bool isArray = false;
  int32_t rows = 1;
  int32_t columns = 1;
  std::vector<double> numbers;     // the values of a numeric type, row by row
  std::vector<std::string> texts;  // the values of a string
};

// An attribute beyond the layers: one created or changed through the host.
struct FileAttribute {
  std::string type;        // "pen", "lineType", "fill", "composite", "material", "city",
                           // "zoneCategory", "font"
  int32_t index = 0;       // from 1, unique per type
  std::string name;
  int32_t flags = 0;
  std::string data;        // the record's own part (AttributeRecord::body), bytes
  std::string skins;       // a composite's skins (CompositeSkinRecord), bytes
  std::vector<FileParameter> parameters;  // a zone category's stamp parameters
};

// A polygon vertex: position and the arc of the edge that ends here.
struct FileVertex {
  double x = 0;
  double y = 0;
  double arc = 0;
};

// A polygon: the outline, then the holes.
struct FilePolygon {
  bool closed = true;
  std::vector<std::vector<FileVertex>> contours;
};

// One element.
struct FileElement {
  std::string guid;              // 8-4-4-4-12 hex digits
  std::string kind;              // "object", "hatch", ... (README.md, "Elements")
  uint32_t variation = 0;
  int32_t layer = 1;
  int32_t storey = 0;
  std::string database = "plan";  // "plan", "model" or "<kind> <index>" ("section 1")
  std::string group;             // the immediate group's GUID; empty when none
  bool locked = false;
  std::map<std::string, double> record;  // the kind's record fields by name
  std::string id;
  std::string libraryPart;       // placed parts: the library part's name
  std::vector<FileParameter> parameters;
  bool hasPolygon = false;
  FilePolygon polygon;
  std::string text;              // a text's content
  std::string target;            // a proxy: the GUID of the element it stands for
  bool hasUserData = false;
  std::string userData;          // bytes
  int32_t userValue = 0;
  int32_t userFlags = 0;
};

// A group.
struct FileGroup {
  std::string guid;
  std::string name;
  std::string group;             // the enclosing group's GUID; empty for a main group
  bool locked = false;
};

// The host model of a project.
struct ModelData {
  int32_t currentStorey = 0;
  std::vector<FileStorey> storeys;
  std::vector<FileLayer> layers;
  std::vector<FileAttribute> attributes;
  std::vector<FileDatabase> databases;
  std::vector<FileElement> elements;
  std::vector<FileGroup> groups;
};

// The record fields a kind takes ("x", "y", "level", ...), and its type code; false for an
// unknown kind name.
bool elementKind(const std::string& kind, int32_t& typeID);
// The kind name of a type code; empty when the file has none for it.
std::string elementKindName(int32_t typeID);

// The names of a kind's record fields ("x", "y", "level", ...).
std::vector<std::string> elementRecordFields(int32_t typeID);
// The database identity a file names ("plan", "model", "section 1"); false for other text.
struct DatabaseName {
  int32_t kind = 0;
  int32_t index = 0;
};
bool parseDatabaseText(const std::string& text, DatabaseName& out);
// The parameter type code of a type name ("length"); 0 for an unknown name.
int32_t parameterTypeCode(const std::string& name);
// The attribute type code of a type name ("fill"); 0 for an unknown name or "layer".
int32_t attributeTypeCode(const std::string& name);
// The type name of an attribute type code; empty for layers and unknown codes.
std::string attributeTypeName(int32_t type);

// Everything a project file holds.
struct ProjectData {
  ProjectSettings settings;
  // Storeys, layers, databases, elements and groups.
  ModelData model;
  // Library folders as written; relative ones are relative to the project file's folder.
  std::vector<std::string> libraryFolders;
  // The add-on's module data, byte for byte; empty when it stored none.
  std::string moduleData;
};

bool operator==(const ProjectSettings& a, const ProjectSettings& b);
bool operator==(const ProjectData& a, const ProjectData& b);

// True when text is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF), which is what the file's JSON strings can carry.
bool isUtf8(const std::string& text);

// Parses project text; source names it in messages ("x.trestlar: line 3, column 5: ...").
// False with error set and data unchanged when the text is refused; never throws.
bool parseProject(const std::string& text, const std::string& source, ProjectData& data, std::string& error);

// The file text of data (indented JSON ending in a line feed). Module data that is not UTF-8
// text is written as base64. False with error set when data holds text JSON cannot carry
// (a library folder that is not UTF-8).
bool serialiseProject(const ProjectData& data, std::string& text, std::string& error);

// Reads and parses the project file at path; false with error naming the file and the
// problem, data unchanged.
bool readProjectFile(const std::string& path, ProjectData& data, std::string& error);

// Writes data to path: the text goes to a new file in the same folder, which then replaces
// path, so a failed write leaves whatever was at path untouched. Only a regular file is
// replaced (through links, the file they lead to), and a read-only one only when
// replaceReadOnly; an existing file keeps its permissions. False with error naming the file
// and the reason.
bool writeProjectFile(const std::string& path, const ProjectData& data, std::string& error,
                      bool replaceReadOnly = false);

// A library folder as written in the project file at projectPath, resolved: absolute folders
// unchanged, relative ones joined to the project file's folder. Takes '/' and '\' as
// separators.
std::string resolveLibraryFolder(const std::string& projectPath, const std::string& folder);

}  // namespace standin
