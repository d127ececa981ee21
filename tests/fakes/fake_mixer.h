#pragma once

#include <functional>
#include <string>
#include <vector>

#include "volume/mixer.h"

namespace tunvell::testing {

// A mixer holding one stored value. `opens` false makes Open fail; `readable`
// false makes reads give 0 as a failed read does.
class FakeMixer final : public Mixer {
public:
    bool opens = true;
    bool readable = true;
    bool accepts = true;
    std::int32_t volume = 20000;
    std::vector<std::string> calls;
    // Runs at every call, after it is logged: lets a test look at the world
    // at that moment.
    std::function<void(const std::string&)> onCall;

    bool Open() override {
        Log("Open");
        return opens;
    }
    std::int32_t GetMasterVolume() override {
        Log("Get");
        return readable ? volume : 0;
    }
    bool SetMasterVolume(std::int32_t value) override {
        Log("Set(" + std::to_string(value) + ")");
        if (accepts) {
            volume = value;
        }
        return accepts;
    }

private:
    void Log(const std::string& call) {
        calls.push_back(call);
        if (onCall) {
            onCall(call);
        }
    }
};

}  // namespace tunvell::testing
