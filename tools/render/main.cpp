#include <iostream>

#include "render/render_tool.h"

int main(int argc, char** argv)
{
    return nelmora::runRenderTool(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cerr);
}
