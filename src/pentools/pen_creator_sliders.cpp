#include "pentools/pen_creator_sliders.h"

namespace nelmora {

NameList shapeTypeNames() { return makeNameList({"円形  ", "四角形", "三角形"}); }

}  // namespace nelmora
