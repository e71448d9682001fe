#include "urban_rural/engine/urban_workspace.h"

namespace vantelo::urban_rural {

namespace {
UrbanWorkspace& instance()
{
    static UrbanWorkspace ws;
    return ws;
}
}  // namespace

UrbanWorkspace& urban_workspace() { return instance(); }

void reset_urban_workspace() { instance() = UrbanWorkspace(); }

}  // namespace vantelo::urban_rural
