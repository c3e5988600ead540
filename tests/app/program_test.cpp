// The program itself, run as a child process: how it starts, refuses a
// backend it cannot have, and ends on Ctrl+C and kill.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

struct EnvSetting {
  const char* name;
  const char* value;  // null: unset
};

struct Outcome {
  bool exited = false;    // ended by itself (not by a signal)
  int status = -1;        // its exit status
  std::string out, err;
  bool timedOut = false;
};

// Runs the program with the environment changed as given. With `signal` set,
// the signal is sent once the program has printed its start line.
Outcome RunProgram(const std::vector<EnvSetting>& env, int signal = 0) {
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    for (const EnvSetting& e : env) e.value ? setenv(e.name, e.value, 1) : unsetenv(e.name);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    execl(PL3_PROGRAM, PL3_PROGRAM, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  Outcome o;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  bool signalled = signal == 0;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  while (open > 0 && std::chrono::steady_clock::now() < deadline) {
    if (poll(fds, 2, 100) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
        continue;
      }
      (i == 0 ? o.out : o.err).append(buffer, static_cast<std::size_t>(n));
    }
    if (!signalled && o.out.find("Pelmora 3 (") != std::string::npos) {
      kill(child, signal);
      signalled = true;
    }
  }
  for (pollfd& f : fds)
    if (f.fd >= 0) close(f.fd);
  if (open > 0) {
    o.timedOut = true;
    kill(child, SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  o.exited = WIFEXITED(status);
  o.status = o.exited ? WEXITSTATUS(status) : -1;
  return o;
}

TEST(Program, RefusesABackendItCannotHaveAndSaysWhy) {
  struct Case {
    const char* what;
    std::vector<EnvSetting> env;
    std::vector<const char*> said;
  };
  const Case cases[] = {
      {"unknown backend",
       {{"PL3_BACKEND", "bogus"}},
       {"PL3_BACKEND=\"bogus\" is not a window backend", "\"sdl\"", "\"headless\""}},
      {"window asked for, no display named",
       {{"PL3_BACKEND", "sdl"}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}, {"SDL_VIDEODRIVER", nullptr}},
       {"no display could be opened", "set DISPLAY", "xvfb-run", "PL3_BACKEND=headless"}},
      // The display is named but nothing answers there: the invisible
      // fallback drivers do not count as a window.
      {"window asked for, display unreachable",
       {{"PL3_BACKEND", "sdl"}, {"DISPLAY", ":917"}, {"WAYLAND_DISPLAY", nullptr}, {"SDL_VIDEODRIVER", nullptr}},
       {"no display could be opened", "xvfb-run"}},
  };
  for (const Case& c : cases) {
    const Outcome o = RunProgram(c.env);
    ASSERT_FALSE(o.timedOut) << c.what;
    EXPECT_TRUE(o.exited) << c.what;
    EXPECT_EQ(o.status, 2) << c.what << "\n" << o.err;
    EXPECT_EQ(o.out, "") << c.what;
    for (const char* text : c.said) EXPECT_NE(o.err.find(text), std::string::npos) << c.what << ": " << text << "\n" << o.err;
  }
}

TEST(Program, CtrlCAndKillCloseTheFrameAndEndCleanly) {
  for (int signal : {SIGINT, SIGTERM}) {
    const Outcome o = RunProgram({{"PL3_BACKEND", "sdl"}, {"SDL_VIDEODRIVER", "dummy"}}, signal);
    ASSERT_FALSE(o.timedOut) << strsignal(signal);
    EXPECT_NE(o.out.find("Pelmora 3 (sdl)"), std::string::npos) << o.out;
    EXPECT_TRUE(o.exited) << strsignal(signal) << " ended the program instead of closing its frame";
    EXPECT_EQ(o.status, 0) << strsignal(signal) << "\n" << o.err;
  }
}

}  // namespace
