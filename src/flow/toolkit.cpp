#include "flow/toolkit.h"

#include <array>
#include <string_view>

#include "game/record.h"

namespace quorbel {

namespace {

// The window's names of the controls, and the number of elements of the control arrays, in the
// order of Control.
struct ControlEntry {
    std::string_view name;
    int elements;  // 0: not an array
};

constexpr std::array<ControlEntry, kControlCount> kControls = {{
    {"Feld", kCells},
    {"cmdFeld", kColumns},
    {"cmdMenü", 6},
    {"lblZugfeld", 0},
    {"lblZug", 0},
    {"lblRot", 0},
    {"lblBlau", 0},
    {"lblMessage", 0},
    {"lblStärke", 0},
    {"lblTime", 0},
    {"shpRot", 0},
    {"shpBlau", 0},
    {"optComp", 0},
    {"optMen", 0},
    {"optMenComp", 0},
    {"optMenMen", 0},
    {"optaggressiv", 0},
    {"optdefensiv", 0},
}};

const ControlEntry& entry(Control control) {
    return kControls[static_cast<std::size_t>(control)];
}

}  // namespace

std::string objectName(ControlRef ref) {
    std::string name(entry(ref.control).name);
    if (ref.index >= 0) {
        name.append(1, '_').append(std::to_string(ref.index));
    }
    return name;
}

int ElementCount(Control control) {
    return entry(control).elements;
}

}  // namespace quorbel
