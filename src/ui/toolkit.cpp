#include "ui/toolkit.h"

namespace quorbel {

std::string objectName(ControlRef ref) {
    std::string name;
    switch (ref.control) {
        case Control::Feld:
            name = "Feld";
            break;
        case Control::cmdFeld:
            name = "cmdFeld";
            break;
        case Control::cmdMenue:
            name = "cmdMenü";
            break;
        case Control::lblZugfeld:
            name = "lblZugfeld";
            break;
        case Control::lblZug:
            name = "lblZug";
            break;
        case Control::lblRot:
            name = "lblRot";
            break;
        case Control::lblBlau:
            name = "lblBlau";
            break;
        case Control::lblMessage:
            name = "lblMessage";
            break;
        case Control::lblStaerke:
            name = "lblStärke";
            break;
        case Control::lblTime:
            name = "lblTime";
            break;
        case Control::shpRot:
            name = "shpRot";
            break;
        case Control::shpBlau:
            name = "shpBlau";
            break;
        case Control::optComp:
            name = "optComp";
            break;
        case Control::optMen:
            name = "optMen";
            break;
        case Control::optMenComp:
            name = "optMenComp";
            break;
        case Control::optMenMen:
            name = "optMenMen";
            break;
        case Control::optaggressiv:
            name = "optaggressiv";
            break;
        case Control::optdefensiv:
            name = "optdefensiv";
            break;
    }
    if (ref.index >= 0) {
        name.append(1, '_').append(std::to_string(ref.index));
    }
    return name;
}

}  // namespace quorbel
