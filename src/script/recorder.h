#pragma once
// The recording of a session: every action and edit of the workspace as a
// line of the event script, so that the render tool replays the session to
// the same picture. Opened pictures are kept outside the recording (the
// keeper stores them, a save puts them beside the script); everything else
// is text, a few tens of bytes per event.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "doc/workspace.h"

namespace nelmora {

class Recorder : public ActionRecorder {
public:
    // Stores an opened picture where it lasts the session and says where;
    // empty when it could not.
    using PictureKeeper = std::function<std::string(const Image&)>;

    // Records from the workspace's state now, which must be the start-up
    // recipe's (as the render tool starts).
    Recorder(Workspace& workspace, PictureKeeper keepPicture);
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // The script so far; each image line names the picture `pictureName`
    // gives for its index in keptPictures().
    std::string script(const std::function<std::string(size_t)>& pictureName) const;
    // Where the keeper stored the opened pictures, in order.
    const std::vector<std::string>& keptPictures() const { return pictures_; }
    // False once a picture could not be kept: the recording no longer replays.
    bool complete() const { return complete_; }
    size_t size() const { return text_.size(); }

    void actionStarts(const Action& action) override;
    void actionDone() override;

private:
    void noted(const Change& change);
    void write(const std::string& line);
    // A random line when the generator is not where the replay's will be.
    void syncRandom();

    Workspace& workspace_;
    PictureKeeper keepPicture_;
    std::string text_;
    std::vector<size_t> pictureMarks_;  // where in text_ each image line's name goes
    std::vector<std::string> pictures_;
    size_t strokeLine_ = 0;  // where the last stroke call's line starts in text_
    int depth_ = 0;  // actions under way: their notes are their consequences
    uint32_t replayRandom_ = RandomState{}.value;
    bool complete_ = true;
};

}  // namespace nelmora
