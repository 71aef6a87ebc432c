#include <iostream>

#include "render/render_tool.h"

int main(int argc, char** argv)
{
    // Unsynchronised, standard input reads through a file buffer that reports
    // a read error (a folder given as input) instead of taking it for the end.
    std::ios_base::sync_with_stdio(false);
    return nelmora::runRenderTool(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cerr);
}
