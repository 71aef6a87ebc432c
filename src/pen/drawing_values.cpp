#include "pen/drawing_values.h"

namespace nelmora {

void resetDrawingValues(DrawingValues& values)
{
    values.fill(0);
    values[dv::saturation1] = 40000;
    values[dv::brightness1] = 0xFFFF;
    values[dv::saturation2] = 40000;
    values[dv::brightness2] = 0xFFFF;
    values[dv::thickness1] = 0x10000;
    values[dv::interval] = 10000;
    values[dv::strength1] = 0xFFFF;
    values[dv::angle2] = 4000;
    values[dv::strength2] = 0xFFFF;
}

const NameList& sourceLabels()
{
    static const NameList labels = makeNameList({
        "----- ", "色相１", "彩度１", "明度１", "色相２", "彩度２", "明度２",
        "太さ１", "間隔  ", "角度１", "強さ１", "動距離", "動角度", "筆圧  ", "筆角度",
        "種類１", "EX  １", "EX  ２", "EX  ３", "EX  ４", "EX  ５", "EX  ６",
        "太さ２", "角度２", "強さ２", "加速度", "加速角", "種類２",
        "ﾗﾝﾀﾞﾑ1", "ﾗﾝﾀﾞﾑ2", "ﾗﾝﾀﾞﾑ3", "ｶｳﾝﾄ１", "ｶｳﾝﾄ２", "ｶｳﾝﾄ３",
    });
    return labels;
}

}  // namespace nelmora
