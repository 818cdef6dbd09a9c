// tarncalc project X Y Z [--window X,Y,W,H,NEAR,FAR,HFOV,VFOV]
// tarncalc pack A B C
// tarncalc channels
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tarn/Tarn.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: tarncalc project X Y Z [--window X,Y,W,H,NEAR,FAR,HFOV,VFOV]\n"
                 "       tarncalc pack A B C      (angles in turns)\n"
                 "       tarncalc channels        (after PRINT_CHANNEL and PRINT_DEVICE)\n");
    return 2;
}

bool ParseFloat(const char* text, float& out) {
    char* end = nullptr;
    out = std::strtof(text, &end);
    return end != text && *end == '\0';
}

bool ParseList(const char* text, std::vector<float>& out) {
    std::string item;
    for (const char* p = text;; ++p) {
        if (*p == ',' || *p == '\0') {
            float value;
            if (!ParseFloat(item.c_str(), value)) return false;
            out.push_back(value);
            item.clear();
            if (*p == '\0') return true;
        } else {
            item += *p;
        }
    }
}

int Project(int argc, char** argv) {
    if (argc != 5 && argc != 7) return Usage();
    float point[3];
    for (int i = 0; i < 3; ++i)
        if (!ParseFloat(argv[2 + i], point[i])) return Usage();
    if (argc == 7) {
        std::vector<float> w;
        if (std::strcmp(argv[5], "--window") != 0 || !ParseList(argv[6], w) || w.size() != 8) return Usage();
        TarnSetProjection(static_cast<int>(w[0]), static_cast<int>(w[1]), static_cast<int>(w[2]),
                          static_cast<int>(w[3]), w[4], w[5], w[6], w[7]);
    }
    float sx, sy, sz, rhw;
    uint8_t code = 0;
    TarnProjectPoint(point, &sx, &sy, &sz, &rhw, &code);
    std::printf("sx=%g sy=%g sz=%g rhw=%g code=0x%02x\n", sx, sy, sz, rhw, code);
    return 0;
}

int Pack(int argc, char** argv) {
    if (argc != 5) return Usage();
    float angles[3];
    for (int i = 0; i < 3; ++i)
        if (!ParseFloat(argv[2 + i], angles[i])) return Usage();
    float m[9];
    TarnMatrixFromAngles(angles[0], angles[1], angles[2], m);
    uint32_t word = 0;
    TarnPackAngles(m, &word);
    float a, b, c;
    TarnUnpackAngleValues(word, &a, &b, &c);
    std::printf("word=0x%08x a=%g b=%g c=%g\n", word, a, b, c);
    return 0;
}

int Channels() {
    TarnPrintInitialise();
    for (int i = 0; i < kTarnChannelSlots; ++i)
        if (TarnChannelName(i)[0] != '\0') std::printf("%s %s\n", TarnChannelName(i), TarnIsChannelOn(i) ? "on" : "off");
    for (int i = 0; i < kTarnDeviceSlots; ++i)
        if (TarnDeviceName(i)[0] != '\0') std::printf("%s %s\n", TarnDeviceName(i), TarnIsDeviceOn(i) ? "on" : "off");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "project") return Project(argc, argv);
    if (command == "pack") return Pack(argc, argv);
    if (command == "channels" && argc == 2) return Channels();
    return Usage();
}
