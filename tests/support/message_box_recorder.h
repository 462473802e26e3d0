#pragma once

#include <vector>

#include "platform/message_box.h"

namespace vinylo::testing {

// Records every message box instead of showing it. Installed by the GUI test
// main; tests read and clear what was shown.
class MessageBoxRecorder {
public:
    static void Install() {
        platform::SetMessageBoxHandler(
            [](const platform::MessageBoxRequest& request) { Shown().push_back(request); });
    }
    static std::vector<platform::MessageBoxRequest>& Shown() {
        static std::vector<platform::MessageBoxRequest> shown;
        return shown;
    }
    static void Clear() { Shown().clear(); }
};

}  // namespace vinylo::testing
