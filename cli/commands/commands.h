// The tool's commands; each takes the arguments after its name and returns
// the exit status.
#pragma once

namespace cli {

// Exit statuses, as the manual page lists them.
constexpr int kExitOk = 0;
constexpr int kExitArchive = 1;  // the archive is at fault or cannot be read
constexpr int kExitUsage = 2;
constexpr int kExitOutput = 3;   // an output file or folder could not be made or written

// What a run met, worst first: an archive fault outweighs an output problem.
class ExitStatus {
 public:
  void ArchiveFault() { archive_fault_ = true; }
  void OutputProblem() { output_problem_ = true; }
  int Code() const { return archive_fault_ ? kExitArchive : output_problem_ ? kExitOutput : kExitOk; }

 private:
  bool archive_fault_ = false;
  bool output_problem_ = false;
};

int RunCheck(int argc, char** argv);
int RunPack(int argc, char** argv);
int RunExtract(int argc, char** argv);
int RunList(int argc, char** argv);

}  // namespace cli
