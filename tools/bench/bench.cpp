// The frame benchmark. Run without --child it is the driver: on the display
// it is given (./play --bench starts a private Xvfb), it plays the scenarios
// in fresh processes of this build (and of another build with --compare,
// the two interleaved so machine load hits both alike), checks that the
// frames drawn with the shortcuts equal the straightforward ones pixel for
// pixel, times the real game from launch to the title page's first swap,
// and prints a table and one line of JSON. It reports speed; it fails only
// when the pixels differ or a run breaks.
#include "scenarios.h"

#include "render/render_options.h"
#include "support/pixels.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ---- child: one run of the scenarios in this process ----------------------

std::uint64_t digest(const Frame& f)
{
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : f.rgb) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

long peakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct ChildOptions {
    std::string out;
    bool straight = false;
    bool pixels = false;
    double scale = 1.0;
    double warmScale = 0.0;
    std::string dumpDir;
    std::string only;
    std::set<std::string> dumpFrames;   // "key:index"
};

int runChild(const char* program, const ChildOptions& o)
{
    std::ofstream out(o.out);
    // Before start-up: some of what it makes depends on the switch too.
    renderOptions.shortcuts = !o.straight;
    if (!startBenchGame(program)) {
        out << "nodisplay\n";
        return 0;
    }
    if (o.warmScale > 0)
        playScenarios(o.warmScale, [](const Scenario&, int, FrameTime) {}, o.only);
    playScenarios(o.scale, [&](const Scenario& s, int i, FrameTime t) {
        if (!o.pixels) {
            out << "frame " << s.key << ' ' << t.wall << ' ' << t.cpu << '\n';
            return;
        }
        // The back buffer still holds the frame just swapped (the software
        // rasteriser copies it to the window); its front buffer reads black.
        const Frame f = grabFrame();
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest(f)));
        out << "digest " << s.key << ' ' << i << ' ' << hex << '\n';
        const std::string name = std::string(s.key) + ":" + std::to_string(i);
        if (!o.dumpDir.empty() && o.dumpFrames.count(name)) {
            std::ofstream raw(o.dumpDir + "/" + s.key + "-" + std::to_string(i) + ".rgb", std::ios::binary);
            raw.write(reinterpret_cast<const char*>(f.rgb.data()), static_cast<std::streamsize>(f.rgb.size()));
        }
    }, o.only);
    out << "rss " << peakResidentKilobytes() << '\n' << "end\n";
    return 0;
}

// ---- driver -----------------------------------------------------------------

struct Build {
    std::string dir;     // build folder: orbitor, assets/, tools/bench/orbitor_bench
    std::string bench;
    bool straight = false;   // every frame drawn without the shortcuts
};

struct RunResult {
    bool ok = false;
    bool noDisplay = false;
    std::map<std::string, std::vector<double>> ms, cpu;
    std::map<std::string, std::vector<std::string>> digests;
    long rssKb = 0;
};

std::string scratchDir()
{
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/orbitor-bench-XXXXXX";
        dir = mkdtemp(pattern) ? pattern : "/tmp";
    }
    return dir;
}

// Runs `argv` in `cwd` with stdout and stderr to `log`; the exit status.
int spawn(const std::vector<std::string>& args, const std::string& cwd, const std::string& log,
          const std::vector<std::string>& env = {})
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0)
            _exit(127);
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
            close(fd);
        }
        for (const std::string& e : env)
            putenv(strdup(e.c_str()));
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

RunResult runScenarios(const Build& b, const std::vector<std::string>& extra)
{
    static int serial = 0;
    const std::string out = scratchDir() + "/run" + std::to_string(++serial) + ".txt";
    std::vector<std::string> args = {b.bench, "--child", out};
    args.insert(args.end(), extra.begin(), extra.end());
    if (b.straight && std::find(args.begin(), args.end(), "--straight") == args.end())
        args.push_back("--straight");
    RunResult r;
    const int status = spawn(args, b.dir + "/assets", out + ".log");
    std::ifstream in(out);
    std::string word;
    bool ended = false;
    while (in >> word) {
        if (word == "frame") {
            std::string key;
            double ms = 0, cpu = 0;
            in >> key >> ms >> cpu;
            r.ms[key].push_back(ms);
            r.cpu[key].push_back(cpu);
        } else if (word == "digest") {
            std::string key, hex;
            int index = 0;
            in >> key >> index >> hex;
            r.digests[key].push_back(hex);
        } else if (word == "rss") {
            in >> r.rssKb;
        } else if (word == "nodisplay") {
            r.noDisplay = true;
        } else if (word == "end") {
            ended = true;
        }
    }
    r.ok = status == 0 && ended;
    if (!r.ok && !r.noDisplay)
        std::fprintf(stderr, "bench: a run of %s failed (status %d); its output is in %s.log\n",
                     b.bench.c_str(), status, out.c_str());
    return r;
}

struct Launch {
    bool ok = false;
    double seconds = 0;
    long rssKb = 0;
};

// The real game from launch to its first swap (the title page), and its
// peak memory after some title-page frames.
Launch launchGame(const Build& b, const std::string& probe)
{
    const std::string out = scratchDir() + "/launch.txt";
    std::remove(out.c_str());
    const auto start = std::chrono::steady_clock::now();
    spawn({b.dir + "/orbitor"}, b.dir + "/assets", out + ".log",
          {"LD_PRELOAD=" + probe, "ORBITOR_PROBE_OUT=" + out});
    Launch l;
    std::ifstream in(out);
    std::string word;
    long long swapNs = 0;
    while (in >> word) {
        if (word == "first_swap")
            in >> swapNs;
        else if (word == "rss")
            in >> l.rssKb;
    }
    const long long startNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    l.ok = swapNs > 0;
    l.seconds = static_cast<double>(swapNs - startNs) / 1e9;
    return l;
}

struct Stats {
    double median = 0, p99 = 0, worst = 0;
    int frames = 0;
};

Stats summarise(std::vector<double> ms)
{
    Stats s;
    if (ms.empty())
        return s;
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    s.median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    s.p99 = ms[std::min(n - 1, static_cast<std::size_t>(std::ceil(n * 0.99)) - 1)];
    s.worst = ms.back();
    s.frames = static_cast<int>(n);
    return s;
}

struct BuildReport {
    Build build;
    std::map<std::string, std::vector<double>> ms, cpu;
    long peakKb = 0;
    std::vector<double> titleSeconds;
    long menuKb = 0;
    bool ok = true;
};

void addRun(BuildReport& report, const RunResult& r)
{
    report.ok = report.ok && r.ok;
    for (const auto& [key, values] : r.ms)
        report.ms[key].insert(report.ms[key].end(), values.begin(), values.end());
    for (const auto& [key, values] : r.cpu)
        report.cpu[key].insert(report.cpu[key].end(), values.begin(), values.end());
    report.peakKb = std::max(report.peakKb, r.rssKb);
}

double medianOf(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct PixelCheck {
    bool ran = false;
    int frames = 0;
    std::vector<std::string> different;   // "key:index"
    std::string detail;
};

// Frames drawn straightforwardly and with the shortcuts, compared by
// digest; the first few that differ are drawn again and counted pixel by
// pixel.
PixelCheck checkPixels(const Build& b, double scale, const std::string& onlyKey)
{
    PixelCheck c;
    const std::string s = std::to_string(scale);
    std::vector<std::string> only;
    if (!onlyKey.empty())
        only = {"--only", onlyKey};
    std::vector<std::string> plainArgs = {"--pixels", "--straight", "--scale", s}, quickArgs = {"--pixels", "--scale", s};
    plainArgs.insert(plainArgs.end(), only.begin(), only.end());
    quickArgs.insert(quickArgs.end(), only.begin(), only.end());
    const RunResult plain = runScenarios(b, plainArgs);
    const RunResult quick = runScenarios(b, quickArgs);
    if (!plain.ok || !quick.ok)
        return c;
    c.ran = true;
    for (const auto& [key, digests] : plain.digests) {
        const auto found = quick.digests.find(key);
        for (std::size_t i = 0; i < digests.size(); ++i) {
            ++c.frames;
            if (found == quick.digests.end() || i >= found->second.size() || found->second[i] != digests[i])
                c.different.push_back(key + ":" + std::to_string(i));
        }
    }
    if (c.different.empty())
        return c;
    std::string list;
    for (std::size_t i = 0; i < c.different.size() && i < 4; ++i)
        list += (i ? "," : "") + c.different[i];
    const std::string plainDir = scratchDir() + "/straight", quickDir = scratchDir() + "/shortcuts";
    mkdir(plainDir.c_str(), 0755);
    mkdir(quickDir.c_str(), 0755);
    plainArgs.insert(plainArgs.end(), {"--dump", plainDir, "--dump-frames", list});
    quickArgs.insert(quickArgs.end(), {"--dump", quickDir, "--dump-frames", list});
    runScenarios(b, plainArgs);
    runScenarios(b, quickArgs);
    std::ostringstream detail;
    std::stringstream names(list);
    std::string name;
    while (std::getline(names, name, ',')) {
        const std::string file = "/" + name.substr(0, name.find(':')) + "-" + name.substr(name.find(':') + 1) + ".rgb";
        std::ifstream a(plainDir + file, std::ios::binary), q(quickDir + file, std::ios::binary);
        const std::vector<char> pa((std::istreambuf_iterator<char>(a)), {}), pq((std::istreambuf_iterator<char>(q)), {});
        int count = 0;
        Box box;
        for (std::size_t i = 0; i + 2 < std::min(pa.size(), pq.size()); i += 3)
            if (pa[i] != pq[i] || pa[i + 1] != pq[i + 1] || pa[i + 2] != pq[i + 2]) {
                ++count;
                const int x = static_cast<int>(i / 3 % frameWidth), y = frameHeight - 1 - static_cast<int>(i / 3 / frameWidth);
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
            }
        detail << "  " << name << ": " << count << " pixels differ, " << box << " (" << plainDir << file
               << " vs " << quickDir << file << ")\n";
    }
    c.detail = detail.str();
    return c;
}

void printJsonBuild(const BuildReport& r)
{
    std::printf("{\"build\":\"%s\",\"scenarios\":{", r.build.dir.c_str());
    bool first = true;
    for (const Scenario& sc : scenarios()) {
        const auto found = r.ms.find(sc.key);
        if (found == r.ms.end())
            continue;
        const Stats s = summarise(found->second);
        std::printf("%s\"%s\":{\"frames\":%d,\"median_ms\":%.3f,\"p99_ms\":%.3f,\"worst_ms\":%.3f,"
                    "\"cpu_median_ms\":%.3f}",
                    first ? "" : ",", sc.key, s.frames, s.median, s.p99, s.worst,
                    medianOf(r.cpu.count(sc.key) ? r.cpu.at(sc.key) : std::vector<double>{}));
        first = false;
    }
    std::printf("},\"peak_rss_mb\":%.1f,\"menu_rss_mb\":%.1f,\"title_s\":%.3f}", r.peakKb / 1024.0,
                r.menuKb / 1024.0, medianOf(r.titleSeconds));
}

struct DriverOptions {
    bool quick = false;
    int rounds = 3;
    std::string compare;
    bool compareStraight = false;   // the second column: this build without the shortcuts
    bool pixels = true;
    std::string only;   // one scenario alone (and no launches)
};

int runDriver(const DriverOptions& o)
{
    if (!std::getenv("DISPLAY")) {
        std::printf("no display: benchmark not run (./play --bench starts one)\n");
        return 0;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::vector<BuildReport> builds(1);
    builds[0].build = {ORBITOR_BUILD_DIR, ORBITOR_BUILD_DIR "/tools/bench/orbitor_bench"};
    if (!o.compare.empty()) {
        BuildReport other;
        other.build = {o.compare, o.compare + "/tools/bench/orbitor_bench"};
        if (access(other.build.bench.c_str(), X_OK) != 0 || access((o.compare + "/orbitor").c_str(), X_OK) != 0) {
            std::fprintf(stderr, "bench: %s has no orbitor and tools/bench/orbitor_bench (build it from a "
                                 "checkout that has tools/bench)\n", o.compare.c_str());
            return 2;
        }
        builds.push_back(other);
    } else if (o.compareStraight) {
        BuildReport plain;
        plain.build = builds[0].build;
        plain.build.straight = true;
        builds.push_back(plain);
    }
    const double scale = o.quick ? 0.25 : 1.0;
    const int rounds = o.quick ? 1 : o.rounds;
    const int launches = o.quick ? 1 : 5;

    PixelCheck pixels;
    if (o.pixels) {
        std::printf("pixel check: every scenario drawn straightforwardly and with the shortcuts...\n");
        std::fflush(stdout);
        pixels = checkPixels(builds[0].build, scale, o.only);
    }

    // Interleaved: this, other, other, this, ... so that load drifting over
    // the run weighs on both alike.
    for (int round = 0; round < rounds; ++round) {
        std::printf("round %d of %d...\n", round + 1, rounds);
        std::fflush(stdout);
        for (std::size_t k = 0; k < builds.size(); ++k) {
            BuildReport& r = builds[round % 2 ? builds.size() - 1 - k : k];
            std::vector<std::string> args = {"--scale", std::to_string(scale), "--warm",
                                             std::to_string(o.quick ? 0.0 : 0.1)};
            if (!o.only.empty())
                args.insert(args.end(), {"--only", o.only});
            const RunResult run = runScenarios(r.build, args);
            if (run.noDisplay) {
                std::printf("no display: benchmark not run\n");
                return 0;
            }
            addRun(r, run);
        }
    }
    for (int i = 0; i < (o.only.empty() && rounds > 0 ? launches : 0); ++i)
        for (std::size_t k = 0; k < builds.size(); ++k) {
            BuildReport& r = builds[i % 2 ? builds.size() - 1 - k : k];
            if (r.build.straight)
                continue;   // the game itself always takes the shortcuts
            const Launch l = launchGame(r.build, ORBITOR_PROBE_PATH);
            if (!l.ok) {
                r.ok = false;
                continue;
            }
            r.titleSeconds.push_back(l.seconds);
            r.menuKb = std::max(r.menuKb, l.rssKb);
        }

    // The table.
    std::printf("\n%-28s", "");
    for (std::size_t k = 0; k < builds.size(); ++k)
        std::printf(" | %-26s", k == 0 ? "this build (ms)" : builds[k].build.straight ? "shortcuts off (ms)" : "other build (ms)");
    if (builds.size() > 1)
        std::printf(" | %s", "median, this/other");
    std::printf("\n%-28s", "scenario");
    for (std::size_t k = 0; k < builds.size(); ++k)
        std::printf(" | %8s %8s %8s", "median", "p99", "worst");
    std::printf("\n");
    for (const Scenario& sc : scenarios()) {
        std::printf("%-28s", sc.name);
        std::vector<Stats> s;
        for (const BuildReport& r : builds) {
            const auto found = r.ms.find(sc.key);
            s.push_back(summarise(found == r.ms.end() ? std::vector<double>{} : found->second));
            std::printf(" | %8.2f %8.2f %8.2f", s.back().median, s.back().p99, s.back().worst);
        }
        if (builds.size() > 1 && s[1].median > 0)
            std::printf(" | %6.2f", s[0].median / s[1].median);
        std::printf("\n");
    }
    std::printf("%-28s", "CPU time a frame, median:");
    std::printf("\n");
    for (const Scenario& sc : scenarios()) {
        std::printf("  %-26s", sc.key);
        std::vector<double> m;
        for (const BuildReport& r : builds) {
            const auto found = r.cpu.find(sc.key);
            m.push_back(found == r.cpu.end() ? 0.0 : medianOf(found->second));
            std::printf(" | %8.2f %17s", m.back(), "");
        }
        if (builds.size() > 1 && m[1] > 0)
            std::printf(" | %6.2f", m[0] / m[1]);
        std::printf("\n");
    }
    std::printf("%-28s", "peak memory in play (MB)");
    for (const BuildReport& r : builds)
        std::printf(" | %8.1f %17s", r.peakKb / 1024.0, "");
    // The real game cannot be started without its shortcuts: no menu figures for that column.
    std::printf("\n%-28s", "peak memory in menu (MB)");
    for (const BuildReport& r : builds)
        r.build.straight ? std::printf(" | %8s %17s", "-", "") : std::printf(" | %8.1f %17s", r.menuKb / 1024.0, "");
    std::printf("\n%-28s", "launch to title page (s)");
    for (const BuildReport& r : builds)
        r.build.straight ? std::printf(" | %8s %17s", "-", "")
                         : std::printf(" | %8.3f %17s", medianOf(r.titleSeconds), "");
    std::printf("\n");
    if (o.pixels) {
        if (!pixels.ran)
            std::printf("same pixels: the check could not run\n");
        else if (pixels.different.empty())
            std::printf("same pixels: all %d frames drawn with the shortcuts equal the straightforward ones\n",
                        pixels.frames);
        else
            std::printf("same pixels: %zu of %d frames DIFFER\n%s", pixels.different.size(), pixels.frames,
                        pixels.detail.c_str());
    }

    // One line of JSON.
    std::printf("{\"quick\":%s,\"rounds\":%d,\"this\":", o.quick ? "true" : "false", rounds);
    printJsonBuild(builds[0]);
    if (builds.size() > 1) {
        std::printf(builds[1].build.straight ? ",\"shortcuts_off\":" : ",\"other\":");
        printJsonBuild(builds[1]);
    }
    if (o.pixels)
        std::printf(",\"pixels\":{\"checked\":%s,\"frames\":%d,\"different\":%zu}", pixels.ran ? "true" : "false",
                    pixels.frames, pixels.different.size());
    std::printf("}\n");

    bool ok = !o.pixels || (pixels.ran && pixels.different.empty());
    for (const BuildReport& r : builds)
        ok = ok && r.ok;
    // The runs' files are kept only when something needs looking into.
    if (ok)
        std::filesystem::remove_all(scratchDir());
    return ok ? 0 : 1;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: orbitor_bench [--short] [--rounds N (0: pixel check only)]\n"
                 "                     [--compare OTHER_BUILD_DIR | --compare-straight]\n"
                 "                     [--no-pixels]\n"
                 "                     [--only SCENARIO]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    ChildOptions child;
    DriverOptions driver;
    bool isChild = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--child" && more) {
            isChild = true;
            child.out = argv[++i];
        } else if (a == "--straight") {
            child.straight = true;
        } else if (a == "--pixels") {
            child.pixels = true;
        } else if (a == "--scale" && more) {
            child.scale = std::atof(argv[++i]);
        } else if (a == "--warm" && more) {
            child.warmScale = std::atof(argv[++i]);
        } else if (a == "--only" && more) {
            child.only = driver.only = argv[++i];
        } else if (a == "--dump" && more) {
            child.dumpDir = argv[++i];
        } else if (a == "--dump-frames" && more) {
            std::stringstream list(argv[++i]);
            std::string name;
            while (std::getline(list, name, ','))
                child.dumpFrames.insert(name);
        } else if (a == "--short") {
            driver.quick = true;
        } else if (a == "--rounds" && more) {
            driver.rounds = std::max(0, std::atoi(argv[++i]));   // 0: the pixel check alone
        } else if (a == "--compare" && more) {
            driver.compare = argv[++i];
        } else if (a == "--compare-straight") {
            driver.compareStraight = true;
        } else if (a == "--no-pixels") {
            driver.pixels = false;
        } else {
            return usage();
        }
    }
    return isChild ? runChild(argv[0], child) : runDriver(driver);
}
