// The tool's commands; each takes the arguments after its name.
#pragma once

namespace cli {

constexpr int kExitOk = 0;
constexpr int kExitProblem = 1;
constexpr int kExitUsage = 2;

int RunCheck(int argc, char** argv);
int RunPack(int argc, char** argv);
int RunExtract(int argc, char** argv);
int RunList(int argc, char** argv);

}  // namespace cli
