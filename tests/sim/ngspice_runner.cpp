#include "ngspice_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#ifndef NGSPICE_PATH
#define NGSPICE_PATH "ngspice"
#endif

namespace morvane::sim {

namespace fs = std::filesystem;

namespace {

std::string CircuitFile(std::size_t job) {
  return "c" + std::to_string(job) + ".cir";
}
std::string ResultFile(std::size_t job) {
  return "r" + std::to_string(job) + ".txt";
}
std::string ControlFile(int process) {
  return "batch" + std::to_string(process) + ".cir";
}
std::string LogFile(int process) {
  return "batch" + std::to_string(process) + ".log";
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The control script of one process: load, run, write and forget each circuit in turn, so
// a circuit that fails leaves no result file rather than the previous circuit's data.
std::string ControlScript(const std::vector<AcJob>& jobs, const std::vector<std::size_t>& mine) {
  std::string script = "* morvane simulation batch\n.control\n";
  script += "set wr_singlescale\nset wr_vecnames\noption numdgt=15\n";
  for (std::size_t job : mine) {
    script += "source " + CircuitFile(job) + "\nrun\nwrdata " + ResultFile(job);
    for (const std::string& node : jobs[job].nodes) script += " v(" + node + ")";
    script += "\nremcirc\ndestroy all\n";
  }
  script += "quit\n.endc\n.end\n";
  return script;
}

// Starts ngspice on a control script in `dir`, output to a log file; -1 if it cannot start.
pid_t Start(const fs::path& dir, int process) {
  const std::string dirText = dir.string();
  const std::string control = ControlFile(process);
  const std::string log = LogFile(process);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // Child: only async-signal-safe calls until exec.
  if (chdir(dirText.c_str()) != 0) _exit(126);
  const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int in = open("/dev/null", O_RDONLY);
  if (out < 0 || in < 0) _exit(126);
  dup2(in, 0);
  dup2(out, 1);
  dup2(out, 2);
  execlp(NGSPICE_PATH, "ngspice", "-b", control.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

// Waits for every started process; one still running after `timeout` is killed.
std::vector<std::string> WaitAll(const std::vector<pid_t>& pids, std::chrono::seconds timeout) {
  std::vector<std::string> failures(pids.size());
  std::vector<bool> done(pids.size(), false);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (std::size_t i = 0; i < pids.size(); ++i) {
    if (pids[i] < 0) {
      failures[i] = "ngspice could not be started";
      done[i] = true;
    }
  }
  while (std::find(done.begin(), done.end(), false) != done.end()) {
    const bool late = std::chrono::steady_clock::now() > deadline;
    for (std::size_t i = 0; i < pids.size(); ++i) {
      if (done[i]) continue;
      int status = 0;
      pid_t r = waitpid(pids[i], &status, WNOHANG);
      if (r == 0 && late) {
        kill(pids[i], SIGKILL);
        r = waitpid(pids[i], &status, 0);
        failures[i] = "ngspice timed out";
      }
      if (r == 0) continue;
      done[i] = true;
      if (r < 0) {
        failures[i] = "ngspice could not be waited for";
      } else if (WIFSIGNALED(status) && failures[i].empty()) {
        failures[i] = "ngspice ended by signal " + std::to_string(WTERMSIG(status));
      } else if (WIFEXITED(status) && WEXITSTATUS(status) >= 126) {
        failures[i] = "ngspice could not be run (" NGSPICE_PATH ")";
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return failures;
}

// wrdata with one scale column: frequency, then real and imaginary part per node.
std::string ParseResult(const std::string& text, AcResult& result) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line)) return "empty result file";
  const std::size_t nodes = result.nodes.size();
  result.voltage.assign(nodes, {});
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::vector<double> values;
    double x = 0.0;
    while (fields >> x) values.push_back(x);
    if (values.empty()) continue;
    if (values.size() != 1 + 2 * nodes) return "unexpected result line: " + line;
    result.frequency.push_back(values[0]);
    for (std::size_t n = 0; n < nodes; ++n) {
      result.voltage[n].emplace_back(values[1 + 2 * n], values[2 + 2 * n]);
    }
  }
  if (result.frequency.empty()) return "no data rows";
  return {};
}

std::string LogTail(const fs::path& path) {
  const std::string log = ReadFile(path);
  constexpr std::size_t kTail = 1500;
  return log.size() > kTail ? log.substr(log.size() - kTail) : log;
}

// A new folder for one batch's files; empty when none can be made.
fs::path TemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "morvane-sim-XXXXXX").string();
  return mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
}

// MORVANE_KEEP_SIM_FILES keeps the netlists, scripts and logs for a look by hand: then the
// note that says where, for the errors; otherwise the folder goes and the note is empty.
std::string CleanUp(const fs::path& dir) {
  if (std::getenv("MORVANE_KEEP_SIM_FILES")) return "\nfiles in " + dir.string();
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return {};
}

}  // namespace

const std::vector<std::complex<double>>& AcResult::Voltage(std::string_view node) const {
  static const std::vector<std::complex<double>> none;
  for (std::size_t i = 0; i < nodes.size() && i < voltage.size(); ++i) {
    if (nodes[i] == node) return voltage[i];
  }
  return none;
}

std::vector<AcResult> RunAc(const std::vector<AcJob>& jobs, int processes) {
  std::vector<AcResult> results(jobs.size());
  if (jobs.empty()) return results;
  for (std::size_t i = 0; i < jobs.size(); ++i) results[i].nodes = jobs[i].nodes;

  const fs::path dir = TemporaryFolder();
  if (dir.empty()) {
    for (AcResult& r : results) r.error = "cannot create a temporary directory";
    return results;
  }

  const int count = std::clamp(processes, 1, static_cast<int>(jobs.size()));
  std::vector<std::vector<std::size_t>> share(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    WriteFile(dir / CircuitFile(i), jobs[i].netlist);
    share[i % share.size()].push_back(i);
  }
  std::vector<pid_t> pids;
  for (int p = 0; p < count; ++p) {
    WriteFile(dir / ControlFile(p), ControlScript(jobs, share[static_cast<std::size_t>(p)]));
    pids.push_back(Start(dir, p));
  }
  const std::vector<std::string> failures = WaitAll(pids, kDefaultTimeout);

  for (std::size_t i = 0; i < jobs.size(); ++i) {
    const std::size_t p = i % share.size();
    AcResult& r = results[i];
    const fs::path file = dir / ResultFile(i);
    if (jobs[i].nodes.empty()) {
      r.error = "no node asked for";
    } else if (!fs::exists(file)) {
      r.error = "no result";
    } else {
      r.error = ParseResult(ReadFile(file), r);
    }
    if (!r.error.empty()) {
      if (!failures[p].empty()) r.error += " (" + failures[p] + ")";
      r.error += "; ngspice log ends:\n" + LogTail(dir / LogFile(static_cast<int>(p)));
    }
  }
  const std::string kept = CleanUp(dir);
  for (AcResult& r : results) r.error += r.error.empty() ? "" : kept;
  return results;
}

AcResult RunAc(const std::string& netlist, const std::vector<std::string>& nodes) {
  return RunAc(std::vector<AcJob>{AcJob{netlist, nodes}}, 1).front();
}

ScriptResult RunScript(const std::string& netlist, const std::string& outputFile,
                       std::chrono::seconds timeout) {
  ScriptResult result;
  const fs::path dir = TemporaryFolder();
  if (dir.empty()) {
    result.error = "cannot create a temporary directory";
    return result;
  }
  WriteFile(dir / ControlFile(0), netlist);
  const auto start = std::chrono::steady_clock::now();
  const std::string failure = WaitAll({Start(dir, 0)}, timeout).front();
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (fs::exists(dir / outputFile)) {
    result.output = ReadFile(dir / outputFile);
    result.error = failure;
  } else {
    result.error = failure.empty() ? "no output" : "no output (" + failure + ")";
  }
  if (!result.error.empty()) result.error += "; ngspice log ends:\n" + LogTail(dir / LogFile(0));
  const std::string kept = CleanUp(dir);
  if (!result.error.empty()) result.error += kept;
  return result;
}

}  // namespace morvane::sim
