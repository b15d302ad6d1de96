// The stand-in host's model of the open project: databases, elements, memos, selection,
// groups, storeys, layers and attributes.
#pragma once

#include "platform/host_table.h"

namespace standin {

// The open project's content.
class ProjectModel {
 public:
  ProjectModel() = default;
  ProjectModel(const ProjectModel&) = delete;
  ProjectModel& operator=(const ProjectModel&) = delete;
};

// Fills the model's slots of the host table.
void installModelOperations(platform::HostFunctionTable& table);

}  // namespace standin
