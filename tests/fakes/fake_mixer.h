#pragma once

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

    bool Open() override {
        calls.emplace_back("Open");
        return opens;
    }
    std::int32_t GetMasterVolume() override {
        calls.emplace_back("Get");
        return readable ? volume : 0;
    }
    bool SetMasterVolume(std::int32_t value) override {
        calls.push_back("Set(" + std::to_string(value) + ")");
        if (accepts) {
            volume = value;
        }
        return accepts;
    }
};

}  // namespace tunvell::testing
