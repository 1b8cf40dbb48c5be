#include "DialogTemplate.h"

#include <algorithm>

const ControlTemplate* DialogTemplate::Find(int controlId) const
{
    const auto found = std::find_if(controls.begin(), controls.end(),
        [controlId](const ControlTemplate& c) { return c.id == controlId; });
    return found == controls.end() ? nullptr : &*found;
}
