// What the control-panel state asks of the control panel window: a redraw
// of the parts its change flags name, the catalogue part's reset, and the
// people panel's shown person.
#pragma once

#include <cstdint>

namespace shell {

class CPState;

class iControlPanel {
public:
    virtual ~iControlPanel() = default;
    // Redraws what the state's change flags name.
    virtual void Refresh(CPState& state) = 0;
    virtual void ResetCatalog() {}
    // The person the people panel shows (-1 none), and letting it go.
    virtual int32_t ShownPerson() const { return -1; }
    virtual void DeselectPerson() {}
};

}  // namespace shell
