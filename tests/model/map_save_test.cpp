#include "model_fixture.h"

#include "base/game_folders.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/map_save.h"
#include "model/player_folder.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string file_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Saving writes relative to the working directory, so each test works in a folder of its own.
class MapSave : public ModelFixture {
protected:
    fs::path folder;
    fs::path previous;

    void SetUp() override {
        ModelFixture::SetUp();
        previous = fs::current_path();
        folder = fs::temp_directory_path() / ("varnholt_save_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "resources");
        fs::current_path(folder);
        build_demo_map();
        current_map_list = &pushdown_map_list;
    }
    void TearDown() override {
        reset_game_folders();
        fs::current_path(previous);
        fs::remove_all(folder);
    }

    static std::string save(const std::string& name) {
        testing::internal::CaptureStdout();
        save_map_as(view_of(name));
        return testing::internal::GetCapturedStdout();
    }

    // Every file under the folder, relative to it.
    std::vector<std::string> files() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) found.push_back(fs::relative(entry.path(), folder).generic_string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }
};

TEST_F(MapSave, ANameIsSavedInTheKindsNewDirectoryAndListedOnce) {
    EXPECT_EQ(save("level.one-b"), "saving map level.one-b as custom_pushdown_machines/level_one_b\n");
    std::string written = file_text("custom_pushdown_machines/level_one_b");
    EXPECT_EQ(written, text_of(write_map()));
    ASSERT_EQ(pushdown_map_list.count, 1);
    EXPECT_EQ(text_of(pushdown_map_list.data[0].name), "level.one-b");
    EXPECT_EQ(file_text("resources/pushdown_maps.txt"), "level.one-b custom_pushdown_machines/level_one_b\n");

    states.data[0].x = 5;
    EXPECT_EQ(save("level.one-b"), "saving map level.one-b as custom_pushdown_machines/level_one_b\n");
    EXPECT_EQ(pushdown_map_list.count, 1);
    EXPECT_NE(file_text("custom_pushdown_machines/level_one_b"), written);
    EXPECT_EQ(files(), (std::vector<std::string>{"custom_pushdown_machines/level_one_b", "resources/pushdown_maps.txt"}));

    machine_kind = state_machine;
    EXPECT_EQ(save("my map!"), "saving map my map! as custom_state_machines/my_map_\n");
    EXPECT_TRUE(fs::is_regular_file("custom_state_machines/my_map_"));
    EXPECT_EQ(file_text("resources/state_maps.txt"), "my map! custom_state_machines/my_map_\n");
}

// One entry per file: a name that becomes a listed file takes over its entry.
TEST_F(MapSave, ANameThatBecomesAListedFileTakesOverItsEntry) {
    save("dup.a");
    save("dup_a");
    EXPECT_EQ(file_text("resources/pushdown_maps.txt"), "dup_a custom_pushdown_machines/dup_a\n");
}

TEST_F(MapSave, HostileNamesStayInsideTheDirectoryOrFailWithTheirLine) {
    EXPECT_EQ(save(""), "saving map  as custom_pushdown_machines/\nfailed to save map: custom_pushdown_machines/\n");
    std::string long_name(500, 'a');
    EXPECT_NE(save(long_name).find("failed to save map: custom_pushdown_machines/aaa"), std::string::npos);
    EXPECT_EQ(save("../x"), "saving map ../x as custom_pushdown_machines/___x\n");
    EXPECT_EQ(save("a/b"), "saving map a/b as custom_pushdown_machines/a_b\n");
    EXPECT_EQ(save("!!!"), "saving map !!! as custom_pushdown_machines/___\n");
    for (const std::string& file : files()) {
        EXPECT_TRUE(file.rfind("custom_pushdown_machines/", 0) == 0 || file == "resources/pushdown_maps.txt") << file;
    }
    EXPECT_EQ(pushdown_map_list.count, 3);
}

TEST_F(MapSave, ASaveThatFailsKeepsTheOldFileAndAddsNoEntry) {
    fs::create_directories("custom_pushdown_machines/keep.new");
    std::ofstream("custom_pushdown_machines/keep") << "stone 0\n";
    EXPECT_EQ(save("keep"), "saving map keep as custom_pushdown_machines/keep\nfailed to save map: custom_pushdown_machines/keep\n");
    EXPECT_EQ(file_text("custom_pushdown_machines/keep"), "stone 0\n");
    EXPECT_EQ(pushdown_map_list.count, 0);
    EXPECT_FALSE(fs::exists("resources/pushdown_maps.txt"));
}

TEST_F(MapSave, DeletingRemovesOnlyFilesInTheMapFolders) {
    fs::create_directories("custom_state_machines");
    fs::create_directories("resources/maps/state");
    std::ofstream("outside.txt") << "keep me";
    std::ofstream("custom_state_machines/one") << ". 0 0\n";
    std::ofstream("resources/maps/state/two") << ". 0 0\n. 1 1\n";
    machine_kind = state_machine;
    const char* paths[] = {"/tmp/anything", "resources/maps/../../outside.txt", "outside.txt", "custom_state_machines/one",
                           "resources/maps/state/two"};
    for (const char* path : paths) array_push(&state_map_list, MapListEntry{str("m"), str(path)});
    current_map_list = &state_map_list;

    for (int64_t index = 0; index < 3; index++) {
        current_map_index = index;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(delete_selected_map());
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "not deleting a map outside the map folders: " + std::string(paths[index]) + "\n");
    }
    EXPECT_EQ(state_map_list.count, 5);
    EXPECT_EQ(file_text("outside.txt"), "keep me");

    current_map_index = 4;
    EXPECT_TRUE(delete_selected_map());
    EXPECT_FALSE(fs::exists("resources/maps/state/two"));
    EXPECT_EQ(current_map_index, 3);
    EXPECT_EQ(states.count, 1);  // the entry now selected was loaded
    current_map_index = 3;
    EXPECT_TRUE(delete_selected_map());
    EXPECT_FALSE(fs::exists("custom_state_machines/one"));
    EXPECT_EQ(file_text("resources/state_maps.txt"),
              "m /tmp/anything\nm resources/maps/../../outside.txt\nm outside.txt\n");
}

// An installed game: shipped maps are read from the data folder and never changed; the player's
// lists and maps live in the player's folder.
TEST_F(MapSave, AnInstalledGameWritesOnlyIntoThePlayersFolder) {
    fs::create_directories("share/maps/state");
    fs::create_directories("player");
    std::ofstream("share/maps/state/two") << ". 0 0\n. 1 1\n";
    for (const char* kind : {"state", "pushdown", "turing"}) {
        std::ofstream("share/" + std::string(kind) + "_maps.txt") << "two resources/maps/state/two\n";
    }
    std::ofstream("player/turing_maps.txt") << "kept custom_turing_machines/kept\n";
    std::string data = (folder / "share/").string(), player = (folder / "player/").string();
    game_folders.installed = true;
    game_folders.data_length = static_cast<int64_t>(data.copy(game_folders.data, data.size()));
    game_folders.player_length = static_cast<int64_t>(player.copy(game_folders.player, player.size()));

    ASSERT_TRUE(prepare_player_folder());
    EXPECT_EQ(file_text("player/state_maps.txt"), "two resources/maps/state/two\n");
    EXPECT_EQ(file_text("player/turing_maps.txt"), "kept custom_turing_machines/kept\n");
    EXPECT_TRUE(fs::is_directory("player/custom_pushdown_machines"));
    EXPECT_EQ(text_of(listed_map_path(str("/elsewhere/map"))), "/elsewhere/map");

    machine_kind = state_machine;
    ASSERT_TRUE(load_map_list(&state_map_list, map_list_path(state_machine)));
    select_kind_maps();
    EXPECT_EQ(states.count, 2);
    EXPECT_EQ(save("mine"), "saving map mine as " + player + "custom_state_machines/mine\n");
    EXPECT_EQ(file_text("player/state_maps.txt"), "two resources/maps/state/two\nmine custom_state_machines/mine\n");
    current_map_index = 0;
    EXPECT_TRUE(delete_selected_map());
    EXPECT_EQ(file_text("player/state_maps.txt"), "mine custom_state_machines/mine\n");
    EXPECT_EQ(files(), (std::vector<std::string>{"player/custom_state_machines/mine", "player/pushdown_maps.txt",
                                                 "player/state_maps.txt", "player/turing_maps.txt",
                                                 "share/maps/state/two", "share/pushdown_maps.txt",
                                                 "share/state_maps.txt", "share/turing_maps.txt"}));
    EXPECT_EQ(file_text("share/state_maps.txt"), "two resources/maps/state/two\n");
}

}  // namespace
