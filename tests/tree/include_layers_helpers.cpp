#include "include_layers.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>

namespace fs = std::filesystem;

namespace {

// The game's layers from the bottom; a file may include only its own layer and those below.
const std::vector<std::string> game_layers = {"base", "model", "render", "screen", "shell"};

struct Include {
    std::string name;
    bool quoted;
};

// "#include <name>" or "#include "name"", blanks allowed around the "#".
bool parse_include(const std::string& line, Include* include) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#') return false;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0) return false;
    at = line.find_first_not_of(" \t", at + 7);
    if (at == std::string::npos || (line[at] != '<' && line[at] != '"')) return false;
    char close = line[at] == '<' ? '>' : '"';
    size_t end = line.find(close, at + 1);
    if (end == std::string::npos) return false;
    *include = Include{line.substr(at + 1, end - at - 1), close == '"'};
    return true;
}

std::vector<Include> includes_of(const fs::path& file) {
    std::vector<Include> found;
    std::ifstream in(file);
    std::string line;
    Include include;
    while (std::getline(in, line)) {
        if (parse_include(line, &include)) found.push_back(include);
    }
    return found;
}

bool is_source(const fs::path& file) {
    std::string extension = file.extension().string();
    return extension == ".h" || extension == ".cpp" || extension == ".c";
}

int layer_of(const std::string& folder) {
    auto found = std::find(game_layers.begin(), game_layers.end(), folder);
    return found == game_layers.end() ? -1 : static_cast<int>(found - game_layers.begin());
}

bool reaches_the_platform_directly(const std::string& name) {
    static const std::vector<std::string> forbidden = {"SDL", "epoxy/", "GL/", "sndfile", "stb_"};
    for (const std::string& prefix : forbidden) {
        if (name.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

using Graph = std::map<std::string, std::vector<std::string>>;

// Depth-first search; a node met again while still on the path closes a cycle.
void report_cycles(Graph& graph, const std::string& label, std::vector<std::string>* problems) {
    std::map<std::string, int> state;  // 0 unseen, 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& node) {
        state[node] = 1;
        path.push_back(node);
        for (const std::string& next : graph[node]) {
            if (state[next] == 1) {
                std::string cycle = label;
                for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it) cycle += " " + *it + " ->";
                problems->push_back(cycle + " " + next);
            } else if (state[next] == 0) {
                visit(next);
            }
        }
        path.pop_back();
        state[node] = 2;
    };
    for (const auto& [node, targets] : graph) {
        if (state[node] == 0) visit(node);
    }
}

std::string without_extension(const std::string& file) { return fs::path(file).replace_extension().generic_string(); }

}  // namespace

std::vector<std::string> include_problems(const fs::path& root) {
    std::vector<std::string> problems;
    // Quoted includes between files of the tree, by path relative to the root.
    Graph graph;

    fs::path game = root / "game";
    fs::path platform = root / "platform";
    for (const fs::path& top : {game, platform}) {
        if (!fs::exists(top)) continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top)) {
            if (!entry.is_regular_file() || !is_source(entry.path())) continue;
            std::string file = fs::relative(entry.path(), root).generic_string();
            bool in_game = top == game;
            std::string folder = in_game ? fs::relative(entry.path(), game).begin()->string() : "";
            int own_layer = layer_of(folder);
            graph[file];
            for (const Include& include : includes_of(entry.path())) {
                if (in_game && reaches_the_platform_directly(include.name)) {
                    problems.push_back(file + " includes " + include.name + ": the game reaches SDL and OpenGL only through the library");
                    continue;
                }
                if (!include.quoted) continue;
                fs::path target = in_game ? game / include.name : entry.path().parent_path() / include.name;
                if (!fs::exists(target)) continue;
                graph[file].push_back(fs::relative(target, root).generic_string());
                if (!in_game) continue;
                std::string target_folder = fs::path(include.name).begin()->string();
                int target_layer = layer_of(target_folder);
                if (own_layer < 0) {
                    problems.push_back(file + " lies in no layer of the game");
                } else if (target_layer > own_layer) {
                    problems.push_back(file + " includes " + include.name + ": " + target_folder + " is above " + folder);
                }
            }
        }
    }

    size_t before_cycles = problems.size();
    report_cycles(graph, "include cycle:", &problems);
    // An include cycle is a circle too; it is named once, as the cycle.
    if (problems.size() > before_cycles) return problems;
    // A header and its source are one file of the design: a.cpp including b.h while b.cpp
    // includes a.h ties the two together as surely as headers including each other.
    Graph circles;
    for (const auto& [file, targets] : graph) {
        if (file.compare(0, 5, "game/") != 0) continue;
        std::string from = without_extension(file);
        circles[from];
        for (const std::string& target : targets) {
            std::string to = without_extension(target);
            if (to != from) circles[from].push_back(to);
        }
    }
    report_cycles(circles, "file circle:", &problems);
    return problems;
}
