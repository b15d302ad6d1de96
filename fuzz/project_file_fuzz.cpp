// Project files: parsing never crashes, and whatever parses writes out and parses back to the
// same project; the host takes the parsed model without complaint.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/core/host.h"
#include "host/project/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  standin::ProjectData project;
  std::string error;
  if (!standin::parseProject(text, "fuzz.trestlar", project, error)) return 0;
  std::string written;
  if (!standin::serialiseProject(project, written, error)) return 0;
  standin::ProjectData back;
  if (!standin::parseProject(written, "again.trestlar", back, error) || !(back == project)) __builtin_trap();
  static standin::Host* host = new standin::Host();
  host->model().load(project.model);
  standin::ModelData saved = host->model().save();
  (void)saved;
  return 0;
}
