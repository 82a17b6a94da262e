// The progress line on a terminal: drawn again after a message at the
// percentage it had, and cleared before a message whenever it shows, even
// at 0 %, but only once, so that what follows the clearing stays whole.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "cli/texts/progress_line.h"

namespace {

const std::string kClearing = "\r                    \r";
const char kEnd[] = "<end>";

// Standard error on a pseudo-terminal while it lives.
class ErrorOnTerminal {
 public:
  ErrorOnTerminal() {
    fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    termios raw;
    cfmakeraw(&raw);
    EXPECT_EQ(openpty(&master_, &terminal_, nullptr, &raw, nullptr), 0);
    dup2(terminal_, STDERR_FILENO);
  }
  ~ErrorOnTerminal() {
    Restore();
    close(master_);
    close(terminal_);
  }
  // Everything written to it so far; standard error is given back.
  std::string Written() {
    fputs(kEnd, stderr);
    Restore();
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (text.find(kEnd) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd ready = {master_, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char buffer[256];
      const ssize_t got = read(master_, buffer, sizeof buffer);
      if (got > 0) text.append(buffer, static_cast<size_t>(got));
    }
    EXPECT_NE(text.find(kEnd), std::string::npos) << "the terminal gave back " << text;
    return text.substr(0, text.find(kEnd));
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }
  int saved_ = -1, master_ = -1, terminal_ = -1;
};

const uint64_t kShownTotal = cli::ProgressLine::kShownAbove + 1;

TEST(ProgressLine, ALineShownAtZeroIsClearedBeforeAMessage) {
  ErrorOnTerminal terminal;
  {
    cli::ProgressLine line("Working... %3d %%", kShownTotal, false);
    line.Show(0);
    line.End();
    fputs("message\n", stderr);
  }
  EXPECT_EQ(terminal.Written(), "\rWorking...   0 %" + kClearing + "message\n");
}

TEST(ProgressLine, IsClearedOnceAndComesBackAtTheSamePercentage) {
  ErrorOnTerminal terminal;
  {
    cli::ProgressLine line("Working... %3d %%", kShownTotal, false);
    line.Show(0);
    line.End();
    fputs("message", stderr);  // a question, say, with no line end
    line.End();
    line.Show(0);
  }
  EXPECT_EQ(terminal.Written(), "\rWorking...   0 %" + kClearing + "message\rWorking...   0 %" + kClearing);
}

}  // namespace
