#include "host/project/project_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "host/files/file_library.h"

namespace standin {

const char* const kProjectFileFormat = "trestlar-project";

bool operator==(const ProjectSettings& a, const ProjectSettings& b) {
  return a.workingUnits == b.workingUnits && a.groupsSuspended == b.groupsSuspended;
}

bool operator==(const ProjectData& a, const ProjectData& b) {
  return a.settings == b.settings && a.libraryFolders == b.libraryFolders && a.moduleData == b.moduleData;
}

namespace {

using Json = nlohmann::json;

const char* const kUnitNames[] = {"metric", "imperial"};

// True when text is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF), which is what JSON strings can carry.
bool isUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (n - i < length || s[i + 1] < low || s[i + 1] > high) return false;
    for (std::size_t k = 2; k < length; ++k)
      if ((s[i + k] & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string toBase64(const std::string& bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
    if (i + 1 < bytes.size()) v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) v |= uint32_t(uint8_t(bytes[i + 2]));
    out += kBase64[(v >> 18) & 63];
    out += kBase64[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[v & 63] : '=';
  }
  return out;
}

int base64Value(char c) {
  const char* at = c ? std::strchr(kBase64, c) : nullptr;
  return at ? int(at - kBase64) : -1;
}

// Decodes padded base64; false on any other text.
bool fromBase64(const std::string& text, std::string& bytes) {
  if (text.size() % 4 != 0) return false;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    bool last = i + 4 == text.size();
    int pad = last && text[i + 3] == '=' ? (text[i + 2] == '=' ? 2 : 1) : 0;
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
      int d = k >= 4 - pad ? 0 : base64Value(text[i + std::size_t(k)]);
      if (d < 0) return false;
      v = (v << 6) | uint32_t(d);
    }
    out += char((v >> 16) & 0xFF);
    if (pad < 2) out += char((v >> 8) & 0xFF);
    if (pad < 1) out += char(v & 0xFF);
  }
  bytes.swap(out);
  return true;
}

// "line 3, column 5: syntax error ..." from the parser's message.
std::string parseProblem(const Json::parse_error& e) {
  std::string what = e.what();
  std::size_t at = what.find(" at line ");
  std::size_t colon = at == std::string::npos ? std::string::npos : what.find(": ", at);
  std::string problem =
      colon == std::string::npos ? what : what.substr(at + 4, colon - at - 4) + ": " + what.substr(colon + 2);
  if (isUtf8(problem)) return problem;
  // The parser quotes what it last read, which may be the very bytes that are not text.
  static const char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (char c : problem) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      shown += c;
    } else {
      shown += "\\x";
      shown += kHex[b >> 4];
      shown += kHex[b & 15];
    }
  }
  return shown;
}

std::string keyName(const std::string& key) { return "\"" + key + "\""; }

// Reads the sections of a parsed file; problem names the first thing refused.
class Reader {
 public:
  bool read(const Json& root, ProjectData& data) {
    if (!root.is_object()) return refuse("the top level must be an object");
    auto format = root.find("format");
    if (format == root.end()) return refuse("not a Trestlar project file (\"format\" is missing)");
    if (!format->is_string() || format->get_ref<const std::string&>() != kProjectFileFormat)
      return refuse("not a Trestlar project file (\"format\" must be \"" + std::string(kProjectFileFormat) + "\")");
    auto version = root.find("version");
    if (version == root.end()) return missing("version");
    if (!version->is_number_integer()) return wrongType("version", "a whole number");
    bool known = version->is_number_unsigned() ? version->get<uint64_t>() == uint64_t(kProjectFileVersion)
                                               : version->get<int64_t>() == int64_t(kProjectFileVersion);
    if (!known)
      return refuse("unknown schema version " + version->dump() + " (this build reads " +
                    std::to_string(kProjectFileVersion) + ")");
    return settings(root, data.settings) && library(root, data.libraryFolders) && moduleData(root, data.moduleData);
  }

  const std::string& problem() const { return problem_; }

 private:
  bool refuse(const std::string& problem) {
    problem_ = problem;
    return false;
  }
  bool missing(const std::string& key) { return refuse(keyName(key) + " is missing"); }
  bool wrongType(const std::string& key, const std::string& what) { return refuse(keyName(key) + " must be " + what); }

  // The section named key: null when absent (and not required), false when refused.
  bool section(const Json& root, const char* key, bool required, const Json*& out) {
    out = nullptr;
    auto it = root.find(key);
    if (it == root.end()) return required ? missing(key) : true;
    if (!it->is_object()) return wrongType(key, "an object");
    out = &*it;
    return true;
  }

  bool settings(const Json& root, ProjectSettings& out) {
    const Json* s = nullptr;
    if (!section(root, "settings", true, s)) return false;
    ProjectSettings read;
    auto units = s->find("workingUnits");
    if (units == s->end()) return missing("settings.workingUnits");
    if (!units->is_string()) return wrongType("settings.workingUnits", "a string");
    const std::string& name = units->get_ref<const std::string&>();
    if (name == kUnitNames[0]) read.workingUnits = WorkingUnits::Metric;
    else if (name == kUnitNames[1]) read.workingUnits = WorkingUnits::Imperial;
    else return refuse("\"settings.workingUnits\" must be \"metric\" or \"imperial\", not " + units->dump());
    auto suspended = s->find("groupsSuspended");
    if (suspended != s->end()) {
      if (!suspended->is_boolean()) return wrongType("settings.groupsSuspended", "true or false");
      read.groupsSuspended = suspended->get<bool>();
    }
    out = read;
    return true;
  }

  bool library(const Json& root, std::vector<std::string>& out) {
    const Json* l = nullptr;
    if (!section(root, "library", false, l)) return false;
    std::vector<std::string> folders;
    if (l) {
      auto list = l->find("folders");
      if (list != l->end()) {
        if (!list->is_array()) return wrongType("library.folders", "an array of folder paths");
        for (std::size_t i = 0; i < list->size(); ++i) {
          const Json& folder = (*list)[i];
          std::string key = "library.folders[" + std::to_string(i) + "]";
          if (!folder.is_string()) return wrongType(key, "a string");
          if (folder.get_ref<const std::string&>().empty()) return refuse(keyName(key) + " must not be empty");
          folders.push_back(folder.get<std::string>());
        }
      }
    }
    out.swap(folders);
    return true;
  }

  bool moduleData(const Json& root, std::string& out) {
    const Json* m = nullptr;
    if (!section(root, "moduleData", false, m)) return false;
    std::string bytes;
    if (m) {
      bool base64 = false;
      auto encoding = m->find("encoding");
      if (encoding != m->end()) {
        if (!encoding->is_string()) return wrongType("moduleData.encoding", "a string");
        const std::string& name = encoding->get_ref<const std::string&>();
        if (name == "base64") base64 = true;
        else if (name != "text")
          return refuse("\"moduleData.encoding\" must be \"text\" or \"base64\", not " + encoding->dump());
      }
      auto text = m->find("data");
      if (text == m->end()) return missing("moduleData.data");
      if (!text->is_string()) return wrongType("moduleData.data", "a string");
      if (!base64) bytes = text->get<std::string>();
      else if (!fromBase64(text->get_ref<const std::string&>(), bytes))
        return refuse("\"moduleData.data\" is not valid base64");
    }
    out.swap(bytes);
    return true;
  }

  std::string problem_;
};

std::string systemError(int error) { return std::strerror(error); }

// The folder part of a native path, "." when it has none.
std::string folderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, const std::string& text) {
  const char* p = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;
    if (n <= 0) return false;
    p += n;
    left -= std::size_t(n);
  }
  return true;
}

}  // namespace

bool parseProject(const std::string& text, const std::string& source, ProjectData& data, std::string& error) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    error = source + ": the file is empty";
    return false;
  }
  try {
    Json root = Json::parse(text);
    Reader reader;
    ProjectData read;
    if (!reader.read(root, read)) {
      error = source + ": " + reader.problem();
      return false;
    }
    data = std::move(read);
    return true;
  } catch (const Json::parse_error& e) {
    error = source + ": " + parseProblem(e);
  } catch (const std::exception& e) {
    // Other parser errors (a number out of range) read "[json.exception.out_of_range.406] ...".
    std::string what = e.what();
    std::size_t tag = what.rfind("] ", what.find(' '));
    error = source + ": " + (what[0] == '[' && tag != std::string::npos ? what.substr(tag + 2) : what);
  }
  return false;
}

bool serialiseProject(const ProjectData& data, std::string& text, std::string& error) {
  for (std::size_t i = 0; i < data.libraryFolders.size(); ++i) {
    if (!isUtf8(data.libraryFolders[i])) {
      error = "library folder " + std::to_string(i + 1) + " is not UTF-8 text";
      return false;
    }
  }
  try {
    nlohmann::ordered_json root;
    root["format"] = kProjectFileFormat;
    root["version"] = kProjectFileVersion;
    root["settings"]["workingUnits"] = kUnitNames[data.settings.workingUnits == WorkingUnits::Imperial ? 1 : 0];
    root["settings"]["groupsSuspended"] = data.settings.groupsSuspended;
    root["library"]["folders"] = nlohmann::ordered_json::array();
    for (const std::string& folder : data.libraryFolders) root["library"]["folders"].push_back(folder);
    if (!data.moduleData.empty()) {
      bool textual = isUtf8(data.moduleData);
      root["moduleData"]["encoding"] = textual ? "text" : "base64";
      root["moduleData"]["data"] = textual ? data.moduleData : toBase64(data.moduleData);
    }
    text = root.dump(2) + "\n";
    return true;
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

bool readProjectFile(const std::string& path, ProjectData& data, std::string& error) {
  std::string native = FileLibrary::nativePath(path);
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) {
    error = path + ": cannot read the file (" + systemError(errno) + ")";
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = path + ": is a folder, not a project file";
    return false;
  }
  std::FILE* f = std::fopen(native.c_str(), "rb");
  if (!f) {
    error = path + ": cannot read the file (" + systemError(errno) + ")";
    return false;
  }
  std::string text;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  bool failed = std::ferror(f) != 0;
  int readError = errno;
  std::fclose(f);
  if (failed) {
    error = path + ": cannot read the file (" + systemError(readError) + ")";
    return false;
  }
  return parseProject(text, path, data, error);
}

bool writeProjectFile(const std::string& path, const ProjectData& data, std::string& error) {
  std::string text;
  if (!serialiseProject(data, text, error)) {
    error = path + ": cannot write the project: " + error;
    return false;
  }
  auto fail = [&](int code) {
    error = path + ": cannot write the file (" + systemError(code) + ")";
    return false;
  };
  std::string target = FileLibrary::nativePath(path);
  if (target.empty()) return fail(ENOENT);
  // Through a link the file it names is replaced, not the link.
  struct stat st;
  bool exists = ::lstat(target.c_str(), &st) == 0;
  if (exists && S_ISLNK(st.st_mode)) {
    if (char* real = ::realpath(target.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
    exists = ::stat(target.c_str(), &st) == 0;
  }

  // The new text goes to a file beside the target: a rename within one folder replaces the
  // target in one step, so the target is either the old file or the complete new one.
  std::string base = folderOf(target) + "/." + nameOf(target) + ".tmp-" + std::to_string(::getpid()) + "-";
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = base + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return fail(errno);

  int code = 0;
  if (!writeAll(fd, text)) code = errno;
  if (code == 0 && exists && S_ISREG(st.st_mode) && ::fchmod(fd, st.st_mode & 07777) != 0) code = errno;
  if (code == 0 && ::fsync(fd) != 0) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code == 0 && ::rename(temp.c_str(), target.c_str()) != 0) code = errno;
  if (code != 0) {
    ::unlink(temp.c_str());
    return fail(code);
  }
  return true;
}

std::string resolveLibraryFolder(const std::string& projectPath, const std::string& folder) {
  std::string f = FileLibrary::nativePath(folder);
  bool absolute = (!f.empty() && f[0] == '/') ||
                  (f.size() >= 2 && std::isalpha(static_cast<unsigned char>(f[0])) && f[1] == ':');
  if (absolute) return f;
  std::string project = FileLibrary::nativePath(projectPath);
  std::size_t slash = project.find_last_of('/');
  if (slash == std::string::npos) return f;
  return project.substr(0, slash + 1) + f;
}

}  // namespace standin
