// A project file's elements and polygon memos as the add-on reads them. The input is the
// project's text; one that the host opens (its library folders replaced by the timber library)
// is read element by element through the add-on's model in every database (records,
// parameters, polygons, outlines, boxes, 3D models), then numbered and scheduled by the
// product's own commands. Nothing may crash or throw, and the project then saves and reads
// back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_host.h"
#include "host/project/project_file.h"
#include "model/drawing.h"
#include "model/element_kinds.h"
#include "model/project.h"
#include "runtime/addon.h"

namespace {

// Reads every element of a drawing through the add-on's wrappers.
void readDrawing(lunvik::Drawing& drawing) {
  for (lunvik::Drawing::iterator it = drawing.begin(lunvik::Drawing::Filter()); !it.atEnd(); ++it) {
    lunvik::Element& e = *it;
    e.getId();
    e.position();
    e.elevation(true);
    e.height();
    e.width();
    e.depth();
    e.area();
    e.perimeter();
    e.outline();
    e.boundingBox();
    std::string data;
    e.userData(data);
    if (auto* part = dynamic_cast<lunvik::ComponentElem*>(&e)) {
      for (int32_t i = 0; i < part->count(); ++i)
        if (const lunvik::Parameter* p = part->parameter(i))
          for (int32_t row = 0; row < p->rows(); ++row)
            for (int32_t column = 0; column < p->columns(); ++column) p->getText(row, column);
    }
  }
}

void chooseMenu(standin::Host& host, const std::string& path) {
  standin::MenuItem item;
  if (!host.findMenuItem(path, item)) std::abort();
  host.chooseMenuItem(item.menuList, item.itemIndex);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  standin::ProjectData project;
  std::string error;
  if (!standin::parseProject(std::string(reinterpret_cast<const char*>(data), size), "fuzz.trestlar", project, error))
    return 0;
  // Folders the input names could be anywhere: the parts come from the copy of the library.
  project.libraryFolders = {"library"};
  const std::string path = fuzz::workFolder() + "/project.trestlar";
  if (!standin::writeProjectFile(path, project, error)) return 0;
  static std::unique_ptr<standin::Host> host = fuzz::loadedHost();
  if (!host->openProject(path, error)) return 0;
  lunvik::Project& model = *lunvik::theAddon()->project();
  for (const platform::DatabaseRecord& id : host->model().databaseIds())
    if (lunvik::Drawing* drawing = model.drawing(id)) readDrawing(*drawing);
  host->model().setCurrent(host->model().plan().id);
  chooseMenu(*host, "Framing/Schedule/Enumerate Timbers");
  chooseMenu(*host, "Framing/Schedule/Show Cut Number");
  host->saveAs(fuzz::workFolder() + "/schedule.txt", "Timber Schedule", error);
  const std::string saved = fuzz::workFolder() + "/saved.trestlar";
  if (!host->saveProject(saved, error)) std::abort();
  standin::ProjectData back;
  if (!standin::readProjectFile(saved, back, error)) std::abort();
  host->closeProject();
  host->dialogs().clearRecords();
  host->clearRecords();
  return 0;
}
