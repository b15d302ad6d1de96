// Connects the host's 3D model to its elements: a placed object's bodies come from its
// library part's generator, its parameter values and its placement.
#pragma once

namespace standin {

class Host;

// Installs the host's body provider: objects and lamps of the plan with a loaded library part.
void connectElementBodies(Host& host);

}  // namespace standin
