#pragma once
// nelmora-render [--size WxH | --image IN] [--pens FILE.pen] [--events FILE] [--undo-memory MiB]
//                [--frames DIR [--every N]] -o OUT
//
// Starts from the program's state right after start-up (a 200 x 200 white
// image, or the given size, or the given picture in any format the program
// opens; the pen creator's defaults; random state 1), loads the pen file over
// both pens, replays the event script (standard input without --events) and
// writes the image in the format OUT's extension names, as the program saves:
// PNG, JPEG, WebP, TIFF, or a 24-bit BMP for any other name. The script runs
// as it is read; with --frames the picture is also written every N commands
// (1 without --every) as DIR/frame-000001.png and on, and -o may be left out.
// Exit status 0; 2 for bad arguments, unreadable inputs, a read error or a
// malformed script line, with OUT not written; 1 when an output cannot be
// written; 3 when memory runs out.

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace nelmora {

// args without the program name; messages go to `errors`.
int runRenderTool(const std::vector<std::string>& args, std::istream& standardInput, std::ostream& errors);

}  // namespace nelmora
