#pragma once
// The editor launcher of the tests: records every launch and starts nothing.

#include "base/Editor.h"

#include <vector>

namespace arenor {

// Answers with result (true: an editor started).
class RecordingEditorLauncher : public EditorLauncher {
public:
    bool start(const EditorLaunch &launch) override
    {
        launches.push_back(launch);
        return result;
    }
    std::vector<EditorLaunch> launches;
    bool result = true;
};

} // namespace arenor
