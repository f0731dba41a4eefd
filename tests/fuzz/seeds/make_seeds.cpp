// Writes the starting corpus of every fuzz target into OUT/<target>/: the shipped maps, lists,
// font description and pictures, and small files of every other format the readers take,
// made here so none has to be stored. Usage: fuzz_seeds ROOT OUT
#include "model/net_message.h"
#include <kestrune_system.h>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path out_root;
int seed_number = 0;

std::string read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void put(const std::string& target, const std::string& bytes) {
    fs::path folder = out_root / target;
    fs::create_directories(folder);
    std::ofstream(folder / ("seed_" + std::to_string(seed_number++)), std::ios::binary) << bytes;
}

string view(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

void text_seeds(const fs::path& root) {
    std::vector<std::string> maps;
    for (const auto& entry : fs::recursive_directory_iterator(root / "resources" / "maps")) {
        if (entry.is_regular_file()) maps.push_back(read_bytes(entry.path()));
    }
    for (const std::string& map : maps) {
        put("map", map);
        std::istringstream lines(map);
        std::string line;
        while (std::getline(lines, line)) {
            size_t open = line.find('"');
            if (line.rfind("=> ", 0) != 0 || open == std::string::npos) continue;
            put("rules", line.substr(open + 1, line.find('"', open + 1) - open - 1));
        }
    }
    for (const char* rule : {"~(A,B,C,D)", "~(1,2,3,4) & ~(a,b,c,d)", "!(A,b,3)", "T(A,1)^*", "(A|b)&!(c,d)"}) put("rules", rule);
    for (const char* list : {"state_maps.txt", "pushdown_maps.txt", "turing_maps.txt"}) {
        put("map_list", read_bytes(root / "resources" / list));
    }
    put("font", read_bytes(root / "resources" / "font_info.txt"));
    put("shader_split", "#vertex\nvoid main() {}\n#fragment\nout vec4 c;\nvoid main() { c = vec4(1); }\n");
    put("shader_split", "// header\n#geometry\r\nlayout(points) in;\n#vertex main\n#fragment\tx\n#vertex\ny");
    for (int kind = 0; kind < 3; kind++) put("shader_split", std::string(1, static_cast<char>(kind)) + "\x08" + "abc#defg");
}

std::string raw(const void* data, size_t size) { return std::string(static_cast<const char*>(data), size); }

void number_seeds() {
    // Goals: every kind and comparison, a few amounts, card values and deck sizes, then a tape.
    for (uint8_t kind = 0; kind < 11; kind++) {
        for (uint8_t comparison = 0; comparison < 4; comparison++) {
            int64_t amount = kind * 3 - comparison * 7;
            std::string goal = raw(&kind, 1) + raw(&comparison, 1) + raw(&amount, 8);
            goal += std::string{0, 1, 2, 3, 4, 5};
            goal += std::string{4, 1, 4, 4, 4};
            for (int cell = 0; cell < 6; cell++) goal += std::string{static_cast<char>(cell % 4), static_cast<char>(cell % 3), static_cast<char>(cell % 6 + 1)};
            put("goal_text", goal);
        }
    }
    const double doubles[] = {0, 0.5, -2.5e-5, 123.45678, 99999.99996, 1e9, 4503599627370495.5, 1e64, 1e300, -0.0};
    const int64_t integers[] = {0, -1, 42, INT64_MIN, INT64_MAX, 1000000007};
    for (size_t i = 0; i < sizeof doubles / sizeof doubles[0]; i++) {
        int64_t integer = integers[i % (sizeof integers / sizeof integers[0])];
        put("text_format", raw(&doubles[i], 8) + raw(&integer, 8) + std::string(1, static_cast<char>(i * 7)));
    }
    for (const char* text : {"maps", "\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E", "a\x80" "b\xC0\xAF" "c\xE2\x82", "\xED\xA0\x80", "plain/path.txt"}) {
        put("wide_text", text);
    }
}

void image_seeds(const fs::path& root, const fs::path& scratch) {
    int picked = 0;
    auto put_image = [&](const std::string& bytes) {
        put("image", std::string(1, static_cast<char>(picked % 5 | (picked / 5 % 2) * 8)) + bytes);
        picked++;
    };
    for (const auto& entry : fs::directory_iterator(root / "resources")) {
        if (entry.path().extension() == ".png") put_image(read_bytes(entry.path()));
    }
    std::vector<uint8_t> pixels(5 * 3 * 4);
    for (size_t i = 0; i < pixels.size(); i++) pixels[i] = static_cast<uint8_t>(i * 37);
    image picture{pixels.data(), 5, 3};
    for (int8_t components = 1; components <= 4; components++) {
        for (const char* extension : {"bmp", "png", "tga", "jpg"}) {
            std::string path = (scratch / (std::string("picture.") + extension)).string();
            if (image_save(&picture, view(path), components)) put_image(read_bytes(path));
        }
    }
    put_image("P5\n3 2\n255\n" + raw(pixels.data(), 6));
    put_image("P6\n2 2\n255\n" + raw(pixels.data(), 12));
    put_image("P5\n3 2\n65535\n" + raw(pixels.data(), 12));
    put_image("P6\n2 1\n65535\n" + raw(pixels.data(), 12));
    put_image("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 2\n" + raw(pixels.data(), 16));
}

bool write_sound(const std::string& path, int format, int channels) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<float> samples(static_cast<size_t>(256 * channels));
    for (size_t i = 0; i < samples.size(); i++) samples[i] = 0.5f * std::sin(static_cast<float>(i) * 0.3f);
    sf_writef_float(file, samples.data(), 256);
    return sf_close(file) == 0;
}

void wave_seeds(const fs::path& scratch) {
    struct Kind {
        const char* name;
        int format;
    };
    const Kind kinds[] = {
        {"u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8},   {"s16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"s24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24},  {"s32.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32},
        {"f32.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT},   {"s16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"vorbis.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    };
    int picked = 0;
    for (const Kind& kind : kinds) {
        for (int channels : {1, 2}) {
            std::string path = (scratch / kind.name).string();
            if (!write_sound(path, kind.format, channels)) continue;
            std::string bytes = read_bytes(path);
            // Every sample format, whole and streamed, over the files between them.
            for (int way = 0; way < 2; way++) {
                put("wave", std::string(1, static_cast<char>(picked % 7 | way * 0x80)) + bytes);
                picked++;
            }
        }
    }
}

}  // namespace

// Streams of well-formed messages, one carrying a shipped map where a game record would stand,
// after the byte that chooses how the target splits them.
void net_message_seeds(const fs::path& root) {
    std::string map = read_bytes(root / "resources" / "maps" / "pushdown" / "harbour.txt");
    for (char pieces : {'\x00', '\x07', '\x41', '\xff'}) {
        GrowableArray<uint8_t> out{};
        net_write_message(&out, net_welcome, 0, view("seats"));
        net_write_message(&out, net_game_state, 1, view(map));
        net_write_message(&out, net_still_here, 2, string{nullptr, 0});
        put("net_message", std::string(1, pieces) + std::string(reinterpret_cast<const char*>(out.data), static_cast<size_t>(out.count)));
    }
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s ROOT OUT\n", argv[0]);
        return 2;
    }
    fs::path root = argv[1];
    out_root = argv[2];
    fs::path scratch = out_root / "scratch";
    fs::create_directories(scratch);
    text_seeds(root);
    create_arenas(int64_t{16} << 20, int64_t{1} << 20);
    net_message_seeds(root);
    number_seeds();
    image_seeds(root, scratch);
    wave_seeds(scratch);
    fs::remove_all(scratch);
    return 0;
}
