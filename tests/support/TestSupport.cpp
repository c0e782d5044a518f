#include "support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "platform/Platform.h"

#if defined(_WIN32)
#include <direct.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zal::test {
namespace {

int g_counter = 0;

void RemoveTree(const std::string &path) {
#if defined(_WIN32)
    std::string pattern = path + "\\*";
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
#else
    std::string cmd = "rm -rf '" + path + "'";
    if (std::system(cmd.c_str()) != 0) {
    }
#endif
}

std::vector<int> g_answers;
std::vector<FixedSeams::Box> g_boxes;
std::vector<uint32_t> g_sleeps;
uint64_t g_ticks = 1000;

}  // namespace

char Separator() {
#if defined(_WIN32)
    return '\\';
#else
    return '/';
#endif
}

std::string HostPath(const std::string &path) {
    std::string out = path;
#if defined(_WIN32)
    // Drive Z: maps the Linux root under Wine.
    for (char &c : out) {
        if (c == '/') c = '\\';
    }
    if (!out.empty() && out[0] == '\\') out = "Z:" + out;
#endif
    return out;
}

std::string PluginFile(const std::string &name) {
#if defined(_WIN32)
    return HostPath(std::string(ZAL2443_BINARY_DIR) + "/bin/" + name + ".dll");
#else
    return std::string(ZAL2443_BINARY_DIR) + "/lib/lib" + name + ".so";
#endif
}

std::string Joined(std::initializer_list<std::string> texts) {
    std::string out;
    for (const std::string &text : texts) out += (&text == texts.begin() ? "" : " | ") + text;
    return out;
}

std::string WriteJob(const TempDir &dir, const std::string &lines) {
    std::string content = "[Begin]\r\n";
    for (char c : lines) content += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string path = dir.file("job.ini");
    WriteFile(path, content);
    return path;
}

EnvVar::EnvVar(const char *name, const std::string &value) : _name(name) {
    if (const char *old = std::getenv(name)) _old = old, _had = true;
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

EnvVar::~EnvVar() {
#if defined(_WIN32)
    _putenv_s(_name.c_str(), _had ? _old.c_str() : "");
#else
    _had ? setenv(_name.c_str(), _old.c_str(), 1) : unsetenv(_name.c_str());
#endif
}

#if !defined(_WIN32)
int RerunWithoutCapabilities() {
    char self[4096];
    ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return -1;
    self[n] = '\0';
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    pid_t child = ::fork();
    if (child == 0) {
        ::setenv("ZAL2443_TEST_WITHOUT_CAPS", "1", 1);
        ::execlp("setpriv", "setpriv", "--inh-caps=-all", "--bounding-set=-all", self, filter.c_str(),
                 static_cast<char *>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status) == 127 ? -1 : WEXITSTATUS(status);
}

static void MakeFolders(const std::string &path) {
    for (std::size_t at = 1; at != std::string::npos; at = path.find('/', at + 1)) mkdir(path.substr(0, at).c_str(), 0755);
    mkdir(path.c_str(), 0755);
}

FakeUsbTree::FakeUsbTree()
    : _dev("ZAL2443_DEV_ROOT", root.file("dev")), _sys("ZAL2443_SYSFS_ROOT", root.file("sys")) {
    MakeFolders(root.file("dev/usb"));
}

void FakeUsbTree::AddPrinter(int n, const std::string &port, const char *vendor, const char *product, const char *id) {
    std::string device = root.file("sys/devices/usb1/" + port);
    std::string interface = device + "/" + port + ":1.0";
    MakeFolders(interface);
    WriteFile(device + "/idVendor", std::string(vendor) + "\n");
    WriteFile(device + "/idProduct", std::string(product) + "\n");
    WriteFile(interface + "/ieee1284_id", id);
    std::string link = root.file("sys/class/usbmisc/lp" + std::to_string(n));
    MakeFolders(link);
    std::string target = "../../../devices/usb1/" + port + "/" + port + ":1.0";
    EXPECT_EQ(0, symlink(target.c_str(), (link + "/device").c_str()));
    WriteFile(Node(n), "");
}
#endif

TempDir::TempDir() {
    std::string base = HostPath(ZAL2443_BINARY_DIR);
#if defined(_WIN32)
    _mkdir((base + "\\test-tmp").c_str());
    path_ = base + "\\test-tmp\\t" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++g_counter);
    _mkdir(path_.c_str());
#else
    mkdir((base + "/test-tmp").c_str(), 0755);
    path_ = base + "/test-tmp/t" + std::to_string(getpid()) + "_" + std::to_string(++g_counter);
    RemoveTree(path_);
    mkdir(path_.c_str(), 0755);
#endif
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::file(const std::string &name) const { return path_ + Separator() + name; }

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string &path, const std::string &content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool FileExists(const std::string &path) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

std::vector<std::string> ReadLines(const std::string &path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

FixedSeams::FixedSeams() {
    g_answers.clear();
    g_boxes.clear();
    g_sleeps.clear();
    g_ticks = 1000;
    seams::Hooks &h = seams::Current();
    h.tickCount = [] { return g_ticks; };
    h.sleep = [](uint32_t ms) {
        g_sleeps.push_back(ms);
        g_ticks += ms;
    };
    h.processId = [] { return 1234u; };
    h.localDateTime = [](char date[9], char time[9]) {
        std::memcpy(date, "12/06/26", 9);
        std::memcpy(time, "12:34:56", 9);
    };
    h.messageBox = [](const char *text, const char *caption, uint32_t style) {
        g_boxes.push_back({text ? text : "", caption ? caption : "", style});
        if (g_answers.empty()) return (style & 0xF) == 5 ? 2 : 1;
        int a = g_answers.front();
        g_answers.erase(g_answers.begin());
        return a;
    };
}

FixedSeams::~FixedSeams() { seams::Reset(); }

void FixedSeams::ScriptAnswers(std::vector<int> answers) { g_answers = std::move(answers); }
std::vector<FixedSeams::Box> &FixedSeams::Boxes() { return g_boxes; }
std::vector<uint32_t> &FixedSeams::Sleeps() { return g_sleeps; }
uint64_t &FixedSeams::Ticks() { return g_ticks; }

LogCapture::LogCapture(uint32_t flags) : config{} {
    log::ResetForTests();
    CopyText(config.LogFolder, dir_.path().c_str());
    CopyText(config.DebugLogName, "debug.log");
    CopyText(config.ErrorLogName, "error.log");
    CopyText(config.ModuleName, "tests");
    CopyText(config.LineFormat, "%s %s %5d 2443  %s %s %*s%s");
    CopyText(config.PlainLineFormat, "%s %s %5d 2443  %s %s %s %s");
    config.Flags = flags;
    log::ConfigureLogging(config);
}

LogCapture::~LogCapture() { log::ResetForTests(); }

std::vector<std::string> LogCapture::DebugLines() const { return ReadLines(dir_.file("debug.log")); }
std::vector<std::string> LogCapture::ErrorLines() const { return ReadLines(dir_.file("error.log")); }

std::vector<std::string> LogCapture::DebugMessages() const {
    std::vector<std::string> out;
    for (const std::string &line : DebugLines()) {
        std::string m = line.size() > 50 ? line.substr(50) : std::string();
        std::size_t start = m.find_first_not_of(' ');
        out.push_back(start == std::string::npos ? std::string() : m.substr(start));
    }
    return out;
}

bool LogCapture::HasDebugMessage(const std::string &message) const {
    const auto messages = DebugMessages();
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

bool LogCapture::HasErrorMessage(const std::string &message) const {
    const auto lines = ErrorLines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string &line) {
        return line.size() >= message.size() && line.compare(line.size() - message.size(), message.size(), message) == 0;
    });
}

void LogCapture::Unwrap() {
    config.WrapWidth = 4000;
    log::ConfigureLogging(config);
}

bool LogCapture::Logged(const std::string &text) const {
    for (const auto &lines : {DebugLines(), ErrorLines()}) {
        auto found = [&](const std::string &line) { return line.find(text) != std::string::npos; };
        if (std::any_of(lines.begin(), lines.end(), found)) return true;
    }
    return false;
}

// Emptied, not removed: the log keeps its files open between lines.
void LogCapture::Clear() {
    for (const char *name : {"debug.log", "error.log"}) {
        if (std::FILE *f = std::fopen(dir_.file(name).c_str(), "w")) std::fclose(f);
    }
}

}  // namespace zal::test
