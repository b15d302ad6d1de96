// The stand-in host's project file: JSON text with a versioned schema (README.md, "Project
// files"), read into and written from a plain ProjectData.
//
// Schema version 1, one object per section:
//   {
//     "format": "trestlar-project",              required
//     "version": 1,                              required, a whole number
//     "settings": {                              required
//       "workingUnits": "metric" | "imperial",   required
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
#include <string>
#include <vector>

namespace standin {

// The schema version this build reads and writes.
constexpr int kProjectFileVersion = 1;
// The value of the "format" key that marks a project file.
extern const char* const kProjectFileFormat;

// The project's working units; the numbers are those of HostEnvironment 'GWUN'.
enum class WorkingUnits : int32_t { Metric = 0, Imperial = 1 };

// The project's host settings.
struct ProjectSettings {
  WorkingUnits workingUnits = WorkingUnits::Metric;
  bool groupsSuspended = false;
};

// Everything a project file holds.
struct ProjectData {
  ProjectSettings settings;
  // Library folders as written; relative ones are relative to the project file's folder.
  std::vector<std::string> libraryFolders;
  // The add-on's module data, byte for byte; empty when it stored none.
  std::string moduleData;
};

bool operator==(const ProjectSettings& a, const ProjectSettings& b);
bool operator==(const ProjectData& a, const ProjectData& b);

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
// path, so a failed write leaves whatever was at path untouched. An existing file keeps its
// permissions. False with error naming the file and the reason.
bool writeProjectFile(const std::string& path, const ProjectData& data, std::string& error);

// A library folder as written in the project file at projectPath, resolved: absolute folders
// unchanged, relative ones joined to the project file's folder. Takes '/' and '\' as
// separators.
std::string resolveLibraryFolder(const std::string& projectPath, const std::string& folder);

}  // namespace standin
