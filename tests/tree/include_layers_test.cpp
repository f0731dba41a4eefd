#include "include_layers.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

class IncludeLayers : public ::testing::Test {
protected:
    fs::path root;

    void SetUp() override {
        root = fs::temp_directory_path() / ("varnholt_layers_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        write("platform/kestrune_system.h", "#pragma once\n");
        write("game/base/strings.h", "#include <kestrune_system.h>\n");
        write("game/model/map.h", "#include \"base/strings.h\"\n");
        write("game/shell/menu.cpp", "#include \"model/map.h\"\n#include \"base/strings.h\"\n");
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const std::string& name, const std::string& text) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name) << text;
    }
};

TEST(IncludeLayersOfThisRepository, EveryIncludeStaysInItsLayerAndNothingCycles) {
    std::vector<std::string> problems = include_problems(VARNHOLT_SOURCE_DIR);
    EXPECT_TRUE(problems.empty()) << joined(problems);
}

TEST_F(IncludeLayers, ASoundTreeHasNoProblems) { EXPECT_EQ(joined(include_problems(root)), ""); }

TEST_F(IncludeLayers, AnIncludeOfAHigherLayerIsNamedWithItsFile) {
    write("game/model/rules.cpp", "#include \"model/map.h\"\n#include \"shell/menu.h\"\n");
    write("game/shell/menu.h", "#pragma once\n");
    std::vector<std::string> problems = include_problems(root);
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    EXPECT_NE(problems[0].find("game/model/rules.cpp includes shell/menu.h"), std::string::npos) << problems[0];
}

TEST_F(IncludeLayers, SdlAndOpenGlHeadersAreRefusedInTheGame) {
    write("game/render/draw.cpp", "#include <SDL.h>\n#include <epoxy/gl.h>\n");
    EXPECT_EQ(include_problems(root).size(), 2u);
}

TEST_F(IncludeLayers, ACycleBetweenFilesIsReportedOnceWithItsPath) {
    write("game/model/a.h", "#include \"model/b.h\"\n");
    write("game/model/b.h", "#include \"model/a.h\"\n");
    std::vector<std::string> problems = include_problems(root);
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    EXPECT_EQ(problems[0], "include cycle: game/model/a.h -> game/model/b.h -> game/model/a.h");
}

TEST_F(IncludeLayers, SourcesIncludingEachOthersHeadersCloseAFileCircle) {
    write("game/render/scene.h", "#pragma once\n");
    write("game/render/scene.cpp", "#include \"render/scene.h\"\n#include \"render/pictures.h\"\n");
    write("game/render/pictures.h", "#pragma once\n");
    write("game/render/pictures.cpp", "#include \"render/pictures.h\"\n#include \"render/scene.h\"\n");
    std::vector<std::string> problems = include_problems(root);
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    EXPECT_EQ(problems[0], "file circle: game/render/pictures -> game/render/scene -> game/render/pictures");
}

TEST_F(IncludeLayers, ACycleInsideTheLibraryCountsToo) {
    write("platform/one.h", "#include \"two.h\"\n");
    write("platform/two.h", "#include \"one.h\"\n");
    EXPECT_EQ(include_problems(root).size(), 1u);
}

}  // namespace
