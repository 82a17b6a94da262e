// The one reader of the commands' arguments: options with and without a
// value, -- and what follows it, and what it says of what it cannot take.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/commands/option_parser.h"

namespace {

struct Parsed {
  bool quiet = false;
  std::string output;
  std::vector<std::string> plain;
  std::string problem;
};

Parsed Parse(std::vector<std::string> arguments) {
  Parsed parsed;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  const std::vector<cli::Option> table = {
      cli::Flag("--quiet", "-q", &parsed.quiet),
      {"--output", nullptr, "a folder", [&](const char* value) {
         if (value[0] == '\0') return std::string("--output may not be empty");
         parsed.output = value;
         return std::string();
       }}};
  parsed.problem = cli::ParseArguments(static_cast<int>(argv.size()), argv.data(), table, [&](const char* argument) {
    parsed.plain.push_back(argument);
    return std::string();
  });
  return parsed;
}

TEST(OptionParser, TakesOptionsValuesAndPlainArgumentsInAnyOrder) {
  const Parsed parsed = Parse({"a.exe", "-q", "--output", "--weird", "-", "b"});
  EXPECT_EQ(parsed.problem, "");
  EXPECT_TRUE(parsed.quiet);
  EXPECT_EQ(parsed.output, "--weird") << "a value is taken whatever it looks like";
  EXPECT_EQ(parsed.plain, (std::vector<std::string>{"a.exe", "-", "b"})) << "- alone is standard input";
}

TEST(OptionParser, DoubleDashEndsTheOptions) {
  const Parsed parsed = Parse({"--quiet", "--", "-rf", "--output", "--"});
  EXPECT_EQ(parsed.problem, "");
  EXPECT_EQ(parsed.plain, (std::vector<std::string>{"-rf", "--output", "--"}));
  EXPECT_TRUE(parsed.output.empty());
}

TEST(OptionParser, SaysWhatItCannotTake) {
  EXPECT_EQ(Parse({"-rf"}).problem, "no option -rf");
  EXPECT_EQ(Parse({"a", "--output"}).problem, "--output needs a folder");
  EXPECT_EQ(Parse({"--output", ""}).problem, "--output may not be empty");
}

}  // namespace
