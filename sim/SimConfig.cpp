#include "sim/SimConfig.h"

namespace tarnel::sim {

std::vector<NearbyDevice> DemoDevices() {
    using std::chrono::milliseconds;
    return {
        {{0x00, 0x1B, 0xDC, 0x0F, 0x3A, 0x21}, "거실 스피커", -52, 0x240414, milliseconds(200)},
        {{0x74, 0xE5, 0x43, 0xB0, 0x19, 0xC7}, "Field Phone", -67, 0x5A020C, milliseconds(700)},
        {{0x00, 0x80, 0x25, 0x4E, 0x90, 0x0D}, "Workshop Scanner", -81, 0x001F00, milliseconds(1600)},
    };
}

}  // namespace tarnel::sim
