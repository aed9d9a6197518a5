// Kills plaxet-cli with SIGKILL at random moments while it replaces a file,
// and checks after every kill that each file it was replacing holds, byte for
// byte, either its old or its new content, and that a killed run leaves at
// most one temporary file behind for each file it writes (the next run
// removes them).
//
//   kill_harness CLI FOLDER KIND KILLS [SEED]
//
// KIND is make (a form file written by `make`), create-files (the three
// documents, rewritten over existing ones) or sender (the sender file written
// by `save-sender`). KILLS counts only kills that hit a running process.
// A CLI ending in ".exe" is the Windows tool: it runs under Wine through the
// program named by PLAXET_WINE_RUN (default scripts/wine-run.sh), which must
// exec Wine in its own process so that the kill reaches the Windows program.
// A run that fails shows its messages.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

[[noreturn]] void die(const std::string& message) {
    std::fprintf(stderr, "kill_harness: %s\n", message.c_str());
    std::exit(1);
}

std::string readFile(const fs::path& path, bool& exists) {
    std::ifstream in(path, std::ios::binary);
    exists = static_cast<bool>(in);
    return exists ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) die("cannot write " + path.string());
}

// Where each run's messages go, so that a failed run can tell why.
std::string g_messages = "/dev/null";

std::string lastMessages() {
    bool exists = false;
    std::string text = readFile(g_messages, exists);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

// Starts the command with its output thrown away and its messages kept.
pid_t start(const std::vector<std::string>& command) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, g_messages.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) die("cannot start " + command[0]);
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) die("lost a child process");
    return status;
}

void runToEnd(const std::vector<std::string>& command) {
    const int status = waitFor(start(command));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::string line;
        for (const std::string& arg : command) line += " " + arg;
        die("this run failed:" + line + ": " + lastMessages());
    }
}

// Set when the tool under test is the Windows one.
struct Tool {
    std::vector<std::string> prefix; // the command that starts it
    bool windows = false;

    // A path as the tool expects it: Wine sees the Linux root as drive Z:.
    std::string path(const fs::path& p) const {
        if (!windows) return p.string();
        std::string text = "Z:" + fs::absolute(p).string();
        std::replace(text.begin(), text.end(), '/', '\\');
        return text;
    }
    std::vector<std::string> command(std::vector<std::string> args) const {
        std::vector<std::string> all = prefix;
        all.insert(all.end(), args.begin(), args.end());
        return all;
    }
};

// One kind of replace: two commands that write different contents into the
// same target files.
struct Kind {
    std::vector<fs::path> targets;
    std::vector<std::string> commands[2];
};

// A form big enough that writing it takes a noticeable part of the run.
std::string formJson(int variant) {
    std::string json = "{\"date\": \"03/15/2024\", \"type\": \"invoice\", \"addressee\": "
                       "{\"name\": \"Margaret Ellison " +
                       std::to_string(variant) + "\"}, \"items\": [";
    for (int i = 1; i <= 400; ++i) {
        if (i > 1) json += ",";
        json += "{\"date\": \"3/4/24\", \"description\": \"Interior paint, coat " +
                std::to_string(i * (variant + 1)) + std::string(60, 'x') + "\", \"cost\": \"" +
                std::to_string(i % 97 + variant) + ".25\"}";
    }
    return json + "], \"notes\": \"Thank you.\"}";
}

Kind prepare(const Tool& cli, const fs::path& folder, const std::string& kind) {
    Kind k;
    if (kind == "make") {
        for (int v = 0; v < 2; ++v) {
            const fs::path json = folder / ("form" + std::to_string(v) + ".json");
            writeFile(json, formJson(v));
            k.commands[v] = cli.command({"make", cli.path(json), cli.path(folder / "target.plx")});
        }
        k.targets = {folder / "target.plx"};
    } else if (kind == "create-files") {
        const fs::path json = folder / "form.json";
        writeFile(json, formJson(0));
        runToEnd(cli.command({"make", cli.path(json), cli.path(folder / "smith.plx")}));
        for (int v = 0; v < 2; ++v) {
            const fs::path sender = folder / ("sender" + std::to_string(v) + ".ini");
            writeFile(sender, "Hill Paint Co. " + std::to_string(v) +
                                  "\r\n215 Commerce Street\r\n\r\n\r\n\r\n\r\n");
            k.commands[v] = cli.command(
                {"create-files", cli.path(folder / "smith.plx"), "--sender", cli.path(sender)});
        }
        // A fixed creation date, so that each sender's PDF has one content.
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
        k.targets = {folder / "smith.rtf", folder / "smith.htm", folder / "smith.pdf"};
    } else if (kind == "sender") {
        for (int v = 0; v < 2; ++v)
            k.commands[v] = cli.command({"save-sender", cli.path(folder / "quillet.ini"),
                                         "Hill Paint Co. " + std::to_string(v),
                                         "215 Commerce Street", "Springfield, IL 62701"});
        k.targets = {folder / "quillet.ini"};
    } else {
        die("unknown kind " + kind + " (make, create-files or sender)");
    }
    return k;
}

// Temporary files of a replace start with one of these prefixes (Linux, Windows).
int countTemporaries(const fs::path& folder) {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        count += name.rfind(".plaxet~", 0) == 0 || name.rfind("~plaxet-", 0) == 0;
    }
    return count;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5 || argc > 6) die("usage: kill_harness CLI FOLDER KIND KILLS [SEED]");
    Tool cli;
    const std::string program = argv[1];
    cli.windows = program.size() > 4 && program.compare(program.size() - 4, 4, ".exe") == 0;
    if (cli.windows) {
        const char* runner = std::getenv("PLAXET_WINE_RUN");
        cli.prefix.push_back(runner ? runner : "scripts/wine-run.sh");
    }
    cli.prefix.push_back(program);
    const fs::path folder = argv[2];
    const std::string kindName = argv[3];
    const int wanted = std::atoi(argv[4]);
    const unsigned seed =
        argc == 6 ? static_cast<unsigned>(std::atol(argv[5])) : std::random_device{}();
    fs::create_directories(folder);
    g_messages = (folder / "messages.txt").string();
    const Kind kind = prepare(cli, folder, kindName);

    // The content each command leaves when it runs to its end, and how long a
    // whole run takes (the median of a few, the last of which leaves content 1).
    std::vector<std::string> expected[2];
    std::vector<Clock::duration> runTimes;
    for (int run = 0; run < 6; ++run) {
        const int v = run % 2;
        const Clock::time_point began = Clock::now();
        runToEnd(kind.commands[v]);
        runTimes.push_back(Clock::now() - began);
        if (run >= 2) continue;
        for (const fs::path& target : kind.targets) {
            bool exists = false;
            expected[v].push_back(readFile(target, exists));
            if (!exists) die("a complete run left no " + target.string());
        }
    }
    std::sort(runTimes.begin(), runTimes.end());
    const Clock::duration fullRun = runTimes[runTimes.size() / 2];
    if (expected[0] == expected[1])
        die("the two contents are the same; the test would prove nothing");

    // Half the kills land at any moment of a run. The other half aim at the
    // moment the new content is put in place, which is learnt as the runs go:
    // a kill that found the old content moves the aim later, one that found the
    // new content (or came after the end) moves it earlier.
    std::mt19937 random(seed);
    const long long runMicros =
        std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count();
    std::uniform_int_distribution<long long> anyMoment(0, runMicros);
    long long aim = runMicros * 3 / 4;
    const long long spread = std::max(runMicros / 10, 1LL);
    const long long step = std::max(runMicros / 50, 1LL);
    std::vector<int> current(kind.targets.size(), 1); // which content each target holds
    int kills = 0, attempts = 0, leftOverSeen = 0, changedByKilledRun = 0;
    int runAgain = 0; // runs that failed without a kill and succeeded the second time
    while (kills < wanted) {
        if (++attempts > wanted * 20) die("too few kills hit a running process");
        const int next = attempts % 2;
        const pid_t pid = start(kind.commands[next]);
        const bool aimed = attempts % 4 >= 2;
        const long long delay = aimed ? std::max(0LL, std::uniform_int_distribution<long long>(
                                                          aim - spread, aim + spread)(random))
                                      : anyMoment(random);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        kill(pid, SIGKILL);
        const int status = waitFor(pid);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        if (!killed && (!WIFEXITED(status) || WEXITSTATUS(status) != 0)) {
            const std::string failure = kindName + ": a run that was not killed failed (attempt " +
                                        std::to_string(attempts) + ", seed " +
                                        std::to_string(seed) + "): " + lastMessages();
            // Under Wine the server clears up a killed process after the
            // process itself is gone, so the run after a kill can start while
            // that is under way. Such a failure is shown, and the run must
            // succeed when it is run once more; more than a few such
            // failures are no longer a matter of timing.
            if (!cli.windows || runAgain == 3) die(failure);
            ++runAgain;
            std::fprintf(stderr, "kill_harness: %s (running it once more)\n", failure.c_str());
            runToEnd(kind.commands[next]);
        }
        kills += killed;

        bool sawNew = !killed;
        for (size_t t = 0; t < kind.targets.size(); ++t) {
            bool exists = false;
            const std::string now = readFile(kind.targets[t], exists);
            const std::string what = kind.targets[t].filename().string() + " after attempt " +
                                     std::to_string(attempts) + " (seed " + std::to_string(seed) +
                                     ")";
            if (!exists) die(what + " is missing");
            if (now == expected[next][t]) {
                if (killed && current[t] != next) {
                    ++changedByKilledRun;
                    sawNew = true;
                }
                current[t] = next;
            } else if (now != expected[current[t]][t]) {
                die(what + " is neither the old nor the new content (" +
                    std::to_string(now.size()) + " bytes)");
            }
        }
        const int leftOver = countTemporaries(folder);
        leftOverSeen += leftOver > 0;
        if (aimed && leftOver == 0) aim = sawNew ? std::max(0LL, aim - step) : aim + step;
        // Files written together are all written before any is put in place.
        if (leftOver > static_cast<int>(kind.targets.size()))
            die(std::to_string(leftOver) + " temporary files after attempt " +
                std::to_string(attempts) + ": a later run did not clean up");
    }
    // A complete run removes what the last killed one left.
    runToEnd(kind.commands[0]);
    if (countTemporaries(folder) != 0) die("a complete run left a temporary file behind");

    const std::string runAgainNote =
        runAgain ? "; " + std::to_string(runAgain) + " runs succeeded only when run again" : "";
    std::printf("%s: %d kills in %d runs (seed %u, a whole run %.1f ms): every target old or "
                "new; %d kills left a temporary file mid-write, each removed by the next run; "
                "%d kills came after some new content was in place%s\n",
                kindName.c_str(), kills, attempts, seed,
                std::chrono::duration<double, std::milli>(fullRun).count(), leftOverSeen,
                changedByKilledRun, runAgainNote.c_str());
    return 0;
}
