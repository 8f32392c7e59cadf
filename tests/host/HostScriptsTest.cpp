// End-to-end scripts: every tests/scripts/NAME.gauge runs through the scripting host with
// --echo, and its output must equal NAME.expected line by line. A first line
// "# options: ..." adds command-line options. The real binary is checked for its options, exit
// codes and standard input.
#include "host/CommandArguments.h"
#include "host/HostCommandLine.h"
#include "host/ScriptHost.h"

#include "common/CheckedOutput.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace merv::host {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> linesOf(std::istream& in) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> scriptNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(MERVGAUGE_SCRIPTS_DIR)) {
        if (entry.path().extension() == ".gauge")
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The options of a script: --echo, and whatever its first line adds.
ScriptHostOptions optionsOf(const fs::path& script) {
    std::ifstream in(script);
    std::string first;
    std::getline(in, first);
    std::vector<std::string> arguments{"--echo"};
    constexpr std::string_view Marker = "# options:";
    if (first.starts_with(Marker)) {
        std::istringstream words(first.substr(Marker.size()));
        for (std::string word; words >> word;)
            arguments.push_back(word);
    }
    // No locale from the environment: the defaults are en_US and English.
    return parseHostCommandLine(arguments, [](const char*) -> const char* { return nullptr; })
        .options;
}

class HostScript : public testing::TestWithParam<std::string> {};

TEST_P(HostScript, WritesTheExpectedLines) {
    const fs::path script = fs::path(MERVGAUGE_SCRIPTS_DIR) / (GetParam() + ".gauge");
    const fs::path expectedPath = fs::path(MERVGAUGE_SCRIPTS_DIR) / (GetParam() + ".expected");
    std::ifstream expectedFile(expectedPath);
    ASSERT_TRUE(expectedFile) << "missing " << expectedPath;
    const std::vector<std::string> expected = linesOf(expectedFile);

    std::ostringstream out;
    {
        ScriptHost host(optionsOf(script), out);
        std::ifstream in(script);
        ASSERT_TRUE(host.runStream(in));
    }
    std::istringstream written(out.str());
    const std::vector<std::string> actual = linesOf(written);

    const std::size_t common = std::min(expected.size(), actual.size());
    for (std::size_t i = 0; i < common; ++i) {
        ASSERT_EQ(actual[i], expected[i])
            << "first difference at line " << i + 1 << " of " << expectedPath.filename();
    }
    ASSERT_EQ(actual.size(), expected.size())
        << "line " << common + 1 << " of " << expectedPath.filename() << ": "
        << (actual.size() > common ? "unexpected " + actual[common]
                                   : "missing " + expected[common]);
}

INSTANTIATE_TEST_SUITE_P(Scripts, HostScript, testing::ValuesIn(scriptNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// ---- One session in-process ----------------------------------------------------------------

// The lines a host writes for the given input lines.
std::vector<std::string> session(const std::vector<std::string>& input,
                                 ScriptHostOptions options = {}) {
    std::ostringstream out;
    {
        ScriptHost host(options, out);
        for (const std::string& line : input)
            host.runLine(line);
    }
    std::istringstream written(out.str());
    return linesOf(written);
}

TEST(HostSession, SurfaceWritesAPngOrAnswersWhyNot) {
    const fs::path png =
        fs::temp_directory_path() / ("dial-" + std::to_string(::getpid()) + " copy.png");
    auto lines = session({"new", "surface " + png.string(), "surface /nonexistent/dir/dial.png"});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "{\"ok\":true}");
    std::ifstream file(png, std::ios::binary);
    char signature[8] = {};
    file.read(signature, sizeof signature);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    fs::remove(png);
    EXPECT_NE(lines[2].find("\"usage\":"), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find("/nonexistent/dir/dial.png"), std::string::npos) << lines[2];

    ScriptHostOptions noFiles;
    noFiles.fileOutput = false;
    lines = session({"new", "surface " + png.string()}, noFiles);
    EXPECT_EQ(lines[1], "{\"ok\":false,\"usage\":\"surface: this host writes no files\"}");
    EXPECT_FALSE(fs::exists(png));
}

TEST(HostSession, InvalidUtf8AndCarriageReturnsNeverBreakTheOutput) {
    ScriptHostOptions echo;
    echo.echo = true;
    const auto lines =
        session({"new\r", "set VariableName \"a\xff\"", "get \xc3\r", "  # note\r"}, echo);
    const std::vector<std::string> expected{
        "{\"cmd\":\"new\"}",
        "{\"ok\":true,\"id\":1}",
        "{\"cmd\":\"set VariableName \\\"a\xEF\xBF\xBD\\\"\"}",
        "{\"cmd\":\"get \xEF\xBF\xBD\"}",
        "{\"ok\":false,\"usage\":\"unknown property '\xEF\xBF\xBD'\"}",
    };
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], expected[0]);
    EXPECT_EQ(lines[1], expected[1]);
    EXPECT_EQ(lines[2], expected[2]);
    EXPECT_NE(lines[3].find("\"usage\":\"set: bad JSON"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4], expected[3]);
    EXPECT_EQ(lines[5], expected[4]);
}

TEST(HostSession, OneLineRunsABoundedNumberOfHandlersAndSaysSoOnce) {
    ScriptHostOptions bounded;
    bounded.maxHandlerRuns = 2;
    // Four handler runs without the bound: the high alarm inside the low warning band.
    const std::vector<std::string> script{
        "restore {\"AlarmHighVal\":1}", "on OnAlarmHigh get AlarmColor",
        "on OnWarningLow get AlarmColor", "set Value 25", "set Value 50"};
    const auto lines = session(script, bounded);
    const std::string notice = "{\"ok\":false,\"usage\":\"handler of OnWarningLow not run, "
                               "nor any other for the rest of this line: it has run 2 handlers\"}";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), notice), 1);
    // Two handlers for the first value, one for the next line's: the count is per line.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "{\"ok\":true,\"value\":255}"), 3);
    EXPECT_EQ(lines.back(), "{\"ok\":true}");
}

TEST(HostSession, AdvanceWritesAFewIdenticalTickFailuresOfATimerThenTheirCount) {
    // Two controls whose redraws fail every 100 ms: ten failures each in one second.
    const auto lines =
        session({"restore {\"MinValue\":50,\"MaxValue\":50}",
                 "restore {\"MinValue\":50,\"MaxValue\":50}", "advance 1000", "advance 100"});
    const std::string failure = "{\"tickerror\":6,\"description\":\"Overflow\"}";
    const std::vector<std::string> tail(lines.end() - 12, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        failure, failure, failure, failure, failure, failure,
                        "{\"tickerror\":6,\"description\":\"Overflow\",\"omitted\":7}",
                        "{\"tickerror\":6,\"description\":\"Overflow\",\"omitted\":7}",
                        "{\"ok\":true,\"ticks\":20}",
                        // The count starts again with every advance.
                        failure, failure, "{\"ok\":true,\"ticks\":2}"}));
}

TEST(HostSession, ThePageForgetsATerminatedControl) {
    auto lines = session({"new", "page load", "terminate", "page apply", "new", "page apply"});
    const std::string gone =
        "{\"ok\":false,\"usage\":\"page apply: control 1 was terminated: load the page again\"}";
    // Also once a new control exists: it is not the one loaded.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), gone), 2);
    lines = session({"new", "page apply"});
    EXPECT_EQ(lines.back(),
              "{\"ok\":false,\"usage\":\"page apply: the page has no control: load it "
              "with page load\"}");

    // What the page held for each control goes with it.
    std::ostringstream out;
    ScriptHost host({}, out);
    auto cycle = [&host] {
        for (const char* line : {"new", "page load", "terminate"})
            host.runLine(line);
    };
    cycle();
    constexpr int Cycles = 2000;
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < Cycles; ++i) {
        cycle();
        out.str({});
    }
    const double perCycle = (double(mallinfo2().uordblks) - double(before)) / Cycles;
    EXPECT_LT(perCycle, 8.0) << "heap bytes kept per cycle";
}

TEST(HostSession, ControlCharactersInTheInputAreQuotedWholeInAnswers) {
    const std::string nul("get Value\0x", 11);
    const auto lines = session({"new", nul, "element \x1b[2J\\", "no\x01pe", "page load 1\x7f"});
    EXPECT_EQ(lines[1], R"({"ok":false,"usage":"unknown property 'Value\\u0000x'"})");
    EXPECT_EQ(lines[2], R"({"ok":false,"usage":"unknown element '\\u001B[2J\\\\'"})");
    EXPECT_EQ(lines[3], R"({"ok":false,"usage":"unknown command 'no\\u0001pe'"})");
    EXPECT_EQ(lines[4], R"({"ok":false,"usage":"no control '1\\u007F'"})");
    for (const std::string& line : lines)
        EXPECT_NO_THROW(Json::parse(line)) << line;
}

TEST(HostSession, LinesMayEndInLfCrOrCrLf) {
    std::ostringstream out;
    {
        ScriptHost host({}, out);
        std::istringstream in("new\rset Value 5\r\nget Value\nget Value\r\rget Value");
        ASSERT_TRUE(host.runStream(in));
    }
    std::istringstream written(out.str());
    const std::vector<std::string> expected{
        "{\"ok\":true,\"id\":1}",    "{\"changed\":\"Value\"}",   "{\"ok\":true}",
        "{\"ok\":true,\"value\":5}", "{\"ok\":true,\"value\":5}", "{\"ok\":true,\"value\":5}"};
    EXPECT_EQ(linesOf(written), expected);
    EXPECT_EQ(lines("a\r\n\rb\n"), (std::vector<std::string_view>{"a", "", "b"}));
}

// A stream whose writes all fail, like standard output on a full disk.
class FullBuffer : public std::streambuf {
protected:
    int overflow(int) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(HostSession, OutputThatCannotBeWrittenEndsTheSessionWithAnError) {
    FullBuffer full;
    std::ostream out(&full);
    ScriptHostOptions options;
    options.outputName = "the answers";
    ScriptHost host(options, out);
    host.runLine("# a comment writes nothing");
    try {
        host.runLine("new");
        ADD_FAILURE() << "the lost answer went unnoticed";
    } catch (const tools::OutputError& error) {
        EXPECT_STREQ(error.what(), "writing the answers failed");
    }
}

// ---- The real binary ---------------------------------------------------------------------

struct Finished {
    std::string out;
    int exitCode = -1;
};

// Runs a shell command line with the host and collects its standard output.
Finished run(const std::string& commandLine) {
    Finished result;
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

const std::string Host = std::string("env -u LC_ALL -u LC_NUMERIC -u LC_MESSAGES -u LANG ") + "'" +
                         MERVGAUGE_HOST_PATH + "'";

fs::path writeTemporary(const std::string& name, const std::string& text) {
    const fs::path path =
        fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + ".gauge");
    std::ofstream(path) << text;
    return path;
}

TEST(HostBinary, ReadsStandardInputAndExitsZeroEvenAfterFailedCommands) {
    const Finished r = run("printf 'new\\nget Value\\nbogus\\n\\n# note\\n' | " + Host);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "{\"ok\":true,\"id\":1}\n"
                     "{\"ok\":true,\"value\":0}\n"
                     "{\"ok\":false,\"usage\":\"unknown command 'bogus'\"}\n");
}

TEST(HostBinary, RunsScriptFilesInOrderAsOneSession) {
    const fs::path first = writeTemporary("first", "new\nset VariableName \"Flow\"\n");
    const fs::path second = writeTemporary("second", "get VariableName\n");
    const Finished r = run(Host + " --echo '" + first.string() + "' '" + second.string() + "'");
    fs::remove(first);
    fs::remove(second);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "{\"cmd\":\"new\"}\n{\"ok\":true,\"id\":1}\n"
                     "{\"cmd\":\"set VariableName \\\"Flow\\\"\"}\n{\"changed\":\"VariableName\"}\n"
                     "{\"ok\":true}\n"
                     "{\"cmd\":\"get VariableName\"}\n{\"ok\":true,\"value\":\"Flow\"}\n");
}

TEST(HostBinary, TakesTheLocaleFromTheOptionOrTheEnvironment) {
    const std::string script = "printf 'restore {\"Precision\":1}\\nset Value \"12,5\"\\n"
                               "caption Val\\ncaption AH\\n' | ";
    const std::string expected = "{\"ok\":true,\"value\":\"12,5 EU\"}";
    const Finished option = run(script + Host + " --locale it_IT --lang it_IT");
    EXPECT_NE(option.out.find(expected), std::string::npos) << option.out;
    EXPECT_NE(option.out.find("\"Allarme alto\""), std::string::npos) << option.out;
    const Finished environment =
        run(script + "env LC_ALL=it_IT.UTF-8 '" + MERVGAUGE_HOST_PATH + "'");
    EXPECT_NE(environment.out.find(expected), std::string::npos) << environment.out;
    const Finished posix = run(script + "env LC_ALL=C '" + MERVGAUGE_HOST_PATH + "'");
    // Under the POSIX locale the comma groups digits: "12,5" reads as 125.
    EXPECT_NE(posix.out.find("\"125.0 EU\""), std::string::npos) << posix.out;
    EXPECT_NE(posix.out.find("\"High alarm\""), std::string::npos) << posix.out;
}

TEST(HostBinary, DesignModeLetsAFreshControlTakeColors) {
    const std::string script = "printf 'new\\nset AlarmColor 128\\n' | ";
    EXPECT_NE(run(script + Host).out.find("\"error\":382"), std::string::npos);
    EXPECT_EQ(run(script + Host + " --design-mode").out.find("\"error\""), std::string::npos);
}

TEST(HostBinary, BadOptionsAndUnreadableScriptsFailWithAMessage) {
    struct Row {
        const char* arguments;
        int exitCode;
        const char* message;
    };
    const Row rows[] = {
        {"--bogus", 2, "unknown option '--bogus'"},
        {"--locale", 2, "option --locale needs a value"},
        {"--locale xx_YY", 2, "unknown locale"},
        {"--lang nowhere", 2, "unknown locale"},
        {"/nonexistent/script.gauge", 1, "cannot read script '/nonexistent/script.gauge'"},
        {"/", 1, "it is a directory"},
        {"--lang 99999", 2, "no locale has the LCID '99999'"},
        {"< /", 1, "cannot read standard input: it is a directory"},
    };
    for (const Row& row : rows) {
        const std::string input = std::string(row.arguments).starts_with("<") ? "" : " </dev/null";
        const Finished r = run(Host + " " + row.arguments + " 2>&1" + input);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.arguments;
        EXPECT_NE(r.out.find(row.message), std::string::npos) << row.arguments << ": " << r.out;
        EXPECT_EQ(r.out.find("{"), std::string::npos) << row.arguments << ": ran commands";
    }
}

TEST(HostBinary, LostOutputIsOneLineOnStandardErrorAndExitStatusOne) {
    // A full disk, and standard output closed.
    for (const char* output : {">/dev/full", ">&-"}) {
        const Finished r = run("{ printf 'new\nget Value\n' | " + Host + " " + output + "; } 2>&1");
        EXPECT_EQ(r.exitCode, 1) << output;
        EXPECT_EQ(r.out.find("mervgauge-host: writing standard output failed: "), 0u)
            << output << ": " << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        const Finished help = run("{ " + Host + " --help " + output + "; } 2>&1");
        EXPECT_EQ(help.exitCode, 1) << output;
        EXPECT_NE(help.out.find("writing standard output failed"), std::string::npos) << output;
    }
}

TEST(HostBinary, HelpDescribesTheOptionsAndExitsZero) {
    const Finished r = run(Host + " --help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* option : {"--locale", "--lang", "--design-mode", "--echo"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST(HostBinary, HelpGivesTheDefaultOfEveryOptionThatHasOne) {
    struct Row {
        const char* option;
        const char* shows; // on the lines from the option's own to the next option's
    };
    const Row rows[] = {
        {"--locale", "default from LC_ALL, LC_NUMERIC, LANG, else en_US"},
        {"--lang", "default from LC_ALL, LC_MESSAGES, LANG, else English (1033)"},
        {"--design-mode", "(default: true, run mode)"},
        {"--echo", "before the output of each input line"},
        {"--help", "show this help and exit"},
    };
    const Finished r = run(Host + " --help");
    ASSERT_EQ(r.exitCode, 0);
    for (const Row& row : rows) {
        const auto begin = r.out.find(std::string("\n  ") + row.option);
        ASSERT_NE(begin, std::string::npos) << row.option << " is not listed";
        const auto end = r.out.find("\n  --", begin + 1);
        const std::string entry = r.out.substr(begin, end - begin);
        EXPECT_NE(entry.find(row.shows), std::string::npos) << row.option << ": " << entry;
    }
}

} // namespace
} // namespace merv::host
