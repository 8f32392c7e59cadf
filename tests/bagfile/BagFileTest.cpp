#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagFile.h>
#include <mervgauge/bagfile/BagJson.h>
#include <mervgauge/bagfile/FileIo.h>

#include "FileText.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace merv {
namespace {

namespace fs = std::filesystem;

using test::TempFolder;

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

MemoryPropertyBag flowBag() {
    MemoryPropertyBag bag;
    bag.set("Value", Variant::single(42.5f));
    bag.set("VariableName", Variant::text("Flow"));
    bag.set("AlarmColor", Variant::color(0x80000008u));
    return bag;
}

TEST(BagFile, ASavedBagLoadsBackWithTheSameEntries) {
    TempFolder folder;
    saveBag(folder / "flow.bag", flowBag());
    EXPECT_EQ(
        test::fileText(folder / "flow.bag"),
        "{\n  \"Value\": 42.5,\n  \"VariableName\": \"Flow\",\n  \"AlarmColor\": 2147483656\n}\n");
    const MemoryPropertyBag loaded = loadBag(folder / "flow.bag");
    EXPECT_EQ(bagToJson(loaded), bagToJson(flowBag()));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"flow.bag"});
}

TEST(BagFile, EveryLoadFaultNamesTheFileAndWhatWasWrong) {
    struct Row {
        const char* name;
        const char* contents; // null: no file at all
        const char* key;
        const char* problemStart;
    };
    const Row rows[] = {
        {"missing", nullptr, "", "cannot open: No such file or directory"},
        {"empty", "", "", "empty"},
        {"blank", " \n", "", "empty"},
        {"truncated", "{\"Value\": 4", "", "truncated JSON: "},
        {"not-json", "Value=4\n", "", "not JSON: "},
        {"not-an-object", "[1, 2]\n", "", "expected a JSON object, not array"},
        {"wrongly-typed", "{\"Value\": 4, \"EngUnit\": [\"bar\"]}", "EngUnit",
         "expected a string, number, true, false or null, not array"},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        const fs::path path = folder / (std::string(row.name) + ".bag");
        if (row.contents)
            writeText(path, row.contents);
        try {
            loadBag(path);
            ADD_FAILURE() << row.name << " loaded";
        } catch (const BagError& error) {
            EXPECT_EQ(error.file(), path.string()) << row.name;
            EXPECT_EQ(error.key(), row.key) << row.name;
            EXPECT_TRUE(error.problem().starts_with(row.problemStart))
                << row.name << ": " << error.what();
            EXPECT_TRUE(std::string(error.what()).starts_with(path.string() + ": ")) << row.name;
        }
    }
}

TEST(BagFile, AFolderOrAHugeFileIsRefusedWithoutReadingItAll) {
    TempFolder folder;
    EXPECT_THROW(loadBag(folder.path()), BagError);
    writeText(folder / "big", std::string(1000, ' '));
    const auto read = readWholeFile(folder / "big", 999);
    ASSERT_TRUE(std::holds_alternative<FileProblem>(read));
    EXPECT_TRUE(std::get<FileProblem>(read).what.starts_with("too large"));
}

TEST(BagFile, ATextThatIsNotUtf8IsRefusedNamingItsKeyAndTheOldFileStays) {
    TempFolder folder;
    saveBag(folder / "flow.bag", flowBag());
    const std::string before = test::fileText(folder / "flow.bag");
    MemoryPropertyBag bad = flowBag();
    bad.set("EngUnit", Variant::text("m\xb3/h"));
    try {
        saveBag(folder / "flow.bag", bad);
        ADD_FAILURE() << "saved";
    } catch (const BagError& error) {
        EXPECT_EQ(error.key(), "EngUnit");
    }
    EXPECT_EQ(test::fileText(folder / "flow.bag"), before);
}

TEST(BagFile, AFailedSaveNamesTheFileAndLeavesNothingBehind) {
    TempFolder folder;
    fs::create_directory(folder / "taken");
    writeText(folder / "taken" / "inside", "x");
    const fs::path targets[] = {folder / "no-such-folder" / "flow.bag", folder / "taken"};
    for (const fs::path& target : targets) {
        try {
            saveBag(target, flowBag());
            ADD_FAILURE() << target << " saved";
        } catch (const BagError& error) {
            EXPECT_EQ(error.file(), target.string());
            EXPECT_TRUE(error.problem().starts_with("cannot ")) << error.what();
        }
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"taken"});
    EXPECT_EQ(test::fileText(folder / "taken" / "inside"), "x");
}

TEST(BagFile, AReplacedFileKeepsItsPermissions) {
    TempFolder folder;
    saveBag(folder / "flow.bag", flowBag());
    fs::permissions(folder / "flow.bag", fs::perms::owner_read | fs::perms::owner_write);
    saveBag(folder / "flow.bag", MemoryPropertyBag());
    EXPECT_EQ(fs::status(folder / "flow.bag").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(test::fileText(folder / "flow.bag"), "{}\n");
}

// A file size limit makes the kernel stop the write short, as a full disk would: the save
// must fail, keep the old file whole and leave no temporary file behind.
TEST(BagFile, AShortWriteIsAnErrorAndTheOldFileStaysWhole) {
    TempFolder folder;
    const fs::path path = folder / "flow.bag";
    saveBag(path, flowBag());
    const std::string before = test::fileText(path);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto why = writeFileAtomically(path, std::string(4096, 'x'));
        ::_exit(why && why->what.starts_with("cannot write") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the short write was not reported";
    EXPECT_EQ(test::fileText(path), before);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"flow.bag"});
}

} // namespace
} // namespace merv
