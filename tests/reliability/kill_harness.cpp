// Kills plaxet-cli with SIGKILL at random moments while it replaces a file,
// and checks after every kill that each file it was replacing holds, byte for
// byte, either its old or its new content, and that a killed run leaves at
// most one temporary file behind for each file it writes (the next run
// removes them).
//
//   kill_harness CLI FOLDER KIND KILLS [SEED]
//
// KIND is make (a form file written by `make`), create-files (the three
// documents, rewritten over existing ones), sender (the sender file written
// by `save-sender`) or numbering (`create-files --business` on a fresh form
// without a number each time: numbers.json must stay whole, each form be the
// fresh one or whole with its number, and no number may be on two forms).
// KILLS counts only kills that hit a running process.
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
#include <map>
#include <nlohmann/json.hpp>
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

// Starts the command with its output sent to `output` (thrown away by
// default) and its messages kept.
pid_t start(const std::vector<std::string>& command, const std::string& output = "/dev/null") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, g_messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
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

void runToEnd(const std::vector<std::string>& command, const std::string& output = "/dev/null") {
    const int status = waitFor(start(command, output));
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
        die("unknown kind " + kind + " (make, create-files, sender or numbering)");
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

Clock::duration median(std::vector<Clock::duration> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Half the kills land at any moment of a run. The other half aim at the
// moment the new content is put in place, which is learnt as the runs go: a
// kill that found the old content moves the aim later, one that found the new
// content (or came after the end) moves it earlier.
class KillMoments {
  public:
    KillMoments(Clock::duration fullRun, unsigned seed)
        : random_(seed),
          runMicros_(std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count()),
          aim_(runMicros_ * 3 / 4), spread_(std::max(runMicros_ / 10, 1LL)),
          step_(std::max(runMicros_ / 50, 1LL)) {}

    std::chrono::microseconds delay(bool aimed) {
        const long long micros =
            aimed ? std::max(0LL, std::uniform_int_distribution<long long>(aim_ - spread_,
                                                                           aim_ + spread_)(random_))
                  : std::uniform_int_distribution<long long>(0, runMicros_)(random_);
        return std::chrono::microseconds(micros);
    }
    void learn(bool sawNew) { aim_ = sawNew ? std::max(0LL, aim_ - step_) : aim_ + step_; }

  private:
    std::mt19937 random_;
    long long runMicros_, aim_, spread_, step_;
};

// Kills the run `pid` of `command` after `delay`; true when the kill hit it.
// A run that ended by itself must have succeeded. Under Wine the server
// clears up a killed process after the process itself is gone, so the run
// after a kill can start while that is under way. Such a failure is shown,
// and the run must succeed when it is run once more (to `output`); more than
// a few such failures are no longer a matter of timing.
bool killAfter(pid_t pid, std::chrono::microseconds delay, const Tool& cli,
               const std::vector<std::string>& command, const std::string& failure, int& runAgain,
               const std::string& output = "/dev/null") {
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    const int status = waitFor(pid);
    const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!killed && (!WIFEXITED(status) || WEXITSTATUS(status) != 0)) {
        const std::string message = failure + ": " + lastMessages();
        if (!cli.windows || runAgain == 3) die(message);
        ++runAgain;
        std::fprintf(stderr, "kill_harness: %s (running it once more)\n", message.c_str());
        runToEnd(command, output);
    }
    return killed;
}

// The numbering kind: each run numbers a fresh form without a number
// (`create-files FORM --business FILE`), taking the next number of the
// invoice series from numbers.json beside FILE, storing it in the form and
// then writing the documents. Killed at any moment, a run may leave a number
// taken that no form holds (a gap), but no number may ever be on two forms.
class NumberingKill {
  public:
    NumberingKill(const Tool& cli, const fs::path& folder)
        : cli_(cli), business_(folder / "business"), forms_(folder / "forms") {
        fs::create_directories(business_);
        fs::create_directories(forms_);
        writeFile(business_ / "business.json",
                  "{\"name\": \"Hill Paint Co.\", \"paymentDays\": 30, "
                  "\"numbers\": {\"invoice\": \"{YYYY}-{####}\"}}\n");
        writeFile(folder / "sender.ini", "Hill Paint Co.\r\n215 Commerce Street\r\n");
        sender_ = folder / "sender.ini";
        const fs::path json = folder / "form.json";
        writeFile(json, "{\"date\": \"03/15/2024\", \"type\": \"invoice\", \"addressee\": "
                        "{\"name\": \"Margaret Ellison\"}, \"items\": [{\"description\": "
                        "\"Interior paint\", \"cost\": \"120.25\"}], \"notes\": \"Thank you.\"}");
        runToEnd(cli.command({"make", cli.path(json), cli.path(folder / "fresh.plx")}));
        bool exists = false;
        fresh_ = readFile(folder / "fresh.plx", exists);
        output_ = (folder / "output.txt").string();
    }

    // Copies the fresh form to the next form file and returns the command
    // that numbers it.
    std::vector<std::string> nextRun() {
        const fs::path form = formPath(forms.size());
        writeFile(form, fresh_);
        forms.push_back({});
        return cli_.command({"create-files", cli_.path(form), "--sender", cli_.path(sender_),
                             "--business", cli_.path(business_ / "business.json")});
    }
    const std::string& output() const { return output_; }

    // Checks what the last run left; true when its form holds a number.
    bool check(bool killed, const std::string& when) {
        const size_t index = forms.size() - 1;
        const fs::path form = formPath(index);
        const std::string formName = form.filename().string();
        const Json counters = checkCounters(formName, when);

        bool exists = false;
        const std::string bytes = readFile(form, exists);
        if (!exists) die(formName + " is missing " + when);
        std::string number;
        if (bytes != fresh_) {
            number = numberIn(form, bytes, when);
            const auto [holder, isNew] = holders_.emplace(number, index);
            if (!isNew)
                die("the number " + number + " is on " +
                    formPath(holder->second).filename().string() + " and on " + formName + " " +
                    when);
            if (!counters["used"]["invoice"].contains(number) ||
                !endsWith(counters["used"]["invoice"][number].get<std::string>(), formName))
                die(formName + " holds " + number + ", which numbers.json does not record for it " +
                    when);
            if (counterOf(number) > counters["counters"]["invoice"]["2024"].get<long long>())
                die(formName + " holds " + number + ", beyond the counter " + when);
        }
        forms[index] = {bytes, number};

        // The documents are written only after the form holds its number,
        // and show no number but that one.
        for (const char* extension : {".rtf", ".htm", ".pdf"}) {
            fs::path document = form;
            document.replace_extension(extension);
            bool made = false;
            const std::string text = readFile(document, made);
            if (!made) continue;
            if (number.empty())
                die(document.filename().string() + " was written for a form without a number " +
                    when);
            for (size_t at = text.find("2024-"); at != std::string::npos;
                 at = text.find("2024-", at + 1))
                if (const std::string shown = text.substr(at, 9);
                    shown != number && std::all_of(shown.begin() + 5, shown.end(),
                                                   [](unsigned char c) { return std::isdigit(c); }))
                    die(document.filename().string() + " shows " + shown + ", not its form's " +
                        number + " " + when);
            fs::remove(document);
        }
        // A run that ended said which number it gave.
        if (!killed) {
            bool said = false;
            std::string line = readFile(output_, said);
            line = line.substr(0, line.find('\n'));
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (number.empty() || line.rfind("Number " + number + " given to ", 0) != 0 ||
                !endsWith(line, formName))
                die("a complete run printed \"" + line + "\" for " + formName + ", which holds \"" +
                    number + "\"");
        }
        return !number.empty();
    }

    // Every form is still as its run left it, and each number is on one form.
    void checkAllAtTheEnd() const {
        for (size_t i = 0; i < forms.size(); ++i) {
            bool exists = false;
            if (readFile(formPath(i), exists) != forms[i].bytes)
                die(formPath(i).filename().string() + " changed after its own run");
        }
        if (countTemporaries(business_) + countTemporaries(forms_) != 0)
            die("a complete run left a temporary file behind");
    }

    long long counter() const { return counter_; }
    size_t numbered() const { return holders_.size(); }
    int maxTemporaries() const { return maxTemporaries_; }

    struct Form {
        std::string bytes;
        std::string number;
    };
    std::vector<Form> forms;

  private:
    using Json = nlohmann::json; // compared without regard to the order of keys

    static bool endsWith(const std::string& text, const std::string& end) {
        return text.size() >= end.size() &&
               text.compare(text.size() - end.size(), end.size(), end) == 0;
    }
    static long long counterOf(const std::string& number) {
        return std::atoll(number.substr(number.rfind('-') + 1).c_str());
    }
    fs::path formPath(size_t index) const {
        return forms_ / ("form" + std::to_string(index) + ".plx");
    }

    // numbers.json is whole: its old content, or the old one with the
    // counter one further and that number recorded for this run's form.
    Json checkCounters(const std::string& formName, const std::string& when) {
        const fs::path path = business_ / "numbers.json";
        bool exists = false;
        const std::string text = readFile(path, exists);
        if (!exists && !counterText_.empty()) die("numbers.json is gone " + when);
        const int leftOver = countTemporaries(business_);
        maxTemporaries_ = std::max(maxTemporaries_, leftOver + countTemporaries(forms_));
        if (leftOver > 1 || countTemporaries(forms_) > 3)
            die("temporary files were not cleaned up " + when);
        if (!exists || text == counterText_) return counters_;
        char number[32];
        std::snprintf(number, sizeof number, "2024-%04lld", counter_ + 1);
        Json now;
        bool next = false;
        try {
            now = Json::parse(text);
            Json expected = counters_;
            expected["counters"]["invoice"]["2024"] = counter_ + 1;
            const Json& holder = now.at("used").at("invoice").at(number);
            expected["used"]["invoice"][number] = holder;
            next = now == expected && endsWith(holder.get<std::string>(), formName);
        } catch (const Json::exception& e) {
            die("numbers.json is not whole " + when + " (" + e.what() + "):\n" + text);
        }
        if (!next)
            die("numbers.json is neither its old content nor the next number taken for " +
                formName + " " + when + ":\n" + text);
        ++counter_;
        counterText_ = text;
        counters_ = now;
        return counters_;
    }

    // The number in a form that is no longer the fresh one: the form must be
    // whole, read back as the fresh form with a number and its due date.
    std::string numberIn(const fs::path& form, const std::string& bytes, const std::string& when) {
        const std::string dumped = (form.parent_path() / "dump.json").string();
        runToEnd(cli_.command({"dump", cli_.path(form)}), dumped);
        bool exists = false;
        Json read;
        try {
            read = Json::parse(readFile(dumped, exists));
        } catch (const Json::exception& e) {
            die("the dump of " + form.filename().string() + " is not JSON: " + e.what());
        }
        const std::string number = read.value("number", "");
        if (number.size() != 9 || number.rfind("2024-", 0) != 0)
            die(form.filename().string() + " holds the number \"" + number + "\" " + when);
        if (numberedSize_ == 0) {
            numberedSize_ = bytes.size();
            numberedDump_ = read;
        }
        Json same = numberedDump_;
        same["number"] = number;
        if (bytes.size() != numberedSize_ || read != same)
            die(form.filename().string() + " is neither the fresh form nor the numbered one " +
                when + ":\n" + read.dump(2));
        return number;
    }

    const Tool& cli_;
    fs::path business_, forms_, sender_;
    std::string fresh_, output_;
    std::string counterText_; // numbers.json as last seen; empty before the first number
    Json counters_ =
        Json::parse(R"({"counters": {"invoice": {"2024": 0}}, "used": {"invoice": {}}})");
    long long counter_ = 0;
    std::map<std::string, size_t> holders_; // each number given, and the form that holds it
    size_t numberedSize_ = 0;
    Json numberedDump_;
    int maxTemporaries_ = 0;
};

int killNumbering(const Tool& cli, const fs::path& folder, int wanted, unsigned seed) {
    NumberingKill numbering(cli, folder);
    // How long a whole run takes: the median of a few complete ones.
    std::vector<Clock::duration> runTimes;
    for (int run = 0; run < 5; ++run) {
        const std::vector<std::string> command = numbering.nextRun();
        const Clock::time_point began = Clock::now();
        runToEnd(command, numbering.output());
        runTimes.push_back(Clock::now() - began);
        numbering.check(false, "after complete run " + std::to_string(run));
    }
    const Clock::duration fullRun = median(runTimes);

    KillMoments moments(fullRun, seed);
    int kills = 0, attempts = 0, runAgain = 0, killedAfterNumbering = 0;
    while (kills < wanted) {
        if (++attempts > wanted * 20) die("too few kills hit a running process");
        const std::vector<std::string> command = numbering.nextRun();
        const pid_t pid = start(command, numbering.output());
        const bool aimed = attempts % 4 >= 2;
        const std::string when =
            "after attempt " + std::to_string(attempts) + " (seed " + std::to_string(seed) + ")";
        const bool killed = killAfter(pid, moments.delay(aimed), cli, command,
                                      "numbering: a run that was not killed failed " + when,
                                      runAgain, numbering.output());
        kills += killed;
        const bool numbered = numbering.check(killed, when);
        killedAfterNumbering += killed && numbered;
        // Aim at the moment the form is saved with its number.
        if (aimed) moments.learn(numbered || !killed);
    }
    // A complete run removes what the last killed one left.
    runToEnd(numbering.nextRun(), numbering.output());
    numbering.check(false, "after the last complete run");
    numbering.checkAllAtTheEnd();

    const std::string runAgainNote =
        runAgain ? "; " + std::to_string(runAgain) + " runs succeeded only when run again" : "";
    const long long gaps = numbering.counter() - static_cast<long long>(numbering.numbered());
    std::printf("numbering: %d kills in %d runs (seed %u, a whole run %.1f ms): %zu forms hold "
                "%zu different numbers, none twice; the counter reached %lld, so %lld numbers "
                "were taken by killed runs before their form was saved (gaps); %d kills came "
                "after the form held its number; at most %d temporary files at once%s\n",
                kills, attempts, seed, std::chrono::duration<double, std::milli>(fullRun).count(),
                numbering.numbered(), numbering.numbered(), numbering.counter(), gaps,
                killedAfterNumbering, numbering.maxTemporaries(), runAgainNote.c_str());
    return 0;
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
    if (kindName == "numbering") return killNumbering(cli, folder, wanted, seed);
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
    const Clock::duration fullRun = median(runTimes);
    if (expected[0] == expected[1])
        die("the two contents are the same; the test would prove nothing");

    KillMoments moments(fullRun, seed);
    std::vector<int> current(kind.targets.size(), 1); // which content each target holds
    int kills = 0, attempts = 0, leftOverSeen = 0, changedByKilledRun = 0;
    int runAgain = 0; // runs that failed without a kill and succeeded the second time
    while (kills < wanted) {
        if (++attempts > wanted * 20) die("too few kills hit a running process");
        const int next = attempts % 2;
        const pid_t pid = start(kind.commands[next]);
        const bool aimed = attempts % 4 >= 2;
        const bool killed =
            killAfter(pid, moments.delay(aimed), cli, kind.commands[next],
                      kindName + ": a run that was not killed failed (attempt " +
                          std::to_string(attempts) + ", seed " + std::to_string(seed) + ")",
                      runAgain);
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
        if (aimed && leftOver == 0) moments.learn(sawNew);
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
