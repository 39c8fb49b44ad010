#include "standin/config.h"

#include "platform/program_folder.h"
#include "platform/sjis.h"
#include "standin/calls.h"
#include "standin/json_read.h"
#include "standin/system.h"
#include "standin/testing.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace standin {

namespace {

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

struct HostState {
    Config config;
    Book book;
    std::string problem;
};

enum class ReadResult { kRead, kMissing, kFailed };

ReadResult ReadWholeFile(const std::string& path, std::string& text, std::string& why) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        if (errno == ENOENT)
            return ReadResult::kMissing;
        why = std::strerror(errno);
        return ReadResult::kFailed;
    }
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    if (failed)
        why = std::strerror(errno);
    std::fclose(file);
    return failed ? ReadResult::kFailed : ReadResult::kRead;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// The folder part of path with its separator; scans over double-byte characters.
std::string FolderOf(const std::string& path) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (IsSeparator(path[i]))
            end = i + 1;
    }
    return path.substr(0, end);
}

bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && FolderOf(path).size() == path.size();
}

bool IsAbsolute(const std::string& path) {
    if (!path.empty() && IsSeparator(path[0]))
        return true;
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string Resolve(const std::string& base, const std::string& path) {
    return IsAbsolute(path) ? path : base + path;
}

// A folder of the configuration: "" none, "." the configuration's own folder, else a path
// relative to it or absolute; handed out with a trailing separator.
std::string ResolveFolder(const std::string& base, const std::string& folder) {
    if (folder.empty())
        return {};
    std::string resolved = folder == "." ? base : Resolve(base, folder);
    if (resolved.empty())
        resolved = std::string(".") + kSeparator;
    if (!EndsWithSeparator(resolved))
        resolved.push_back(kSeparator);
    return resolved;
}

std::string ProblemMessage(const char* what, const std::string& path, const std::string& place,
                           const std::string& problem, const char* remedy) {
    return std::string(what) + "\nファイル: " + path + "\n場所: " + place + "\n問題: " + problem +
           "\n\n" + remedy;
}

const char kConfigUnreadable[] = "ホストの設定ファイルを読めません。";
const char kConfigRemedy[] =
    "設定ファイル (StandinHost.json) を直してから、もう一度起動してください。";
const char kBookUnreadable[] = "ホストの帳簿ファイルを読めません。";
const char kBookRemedy[] = "帳簿ファイルを直すか、設定ファイルで別の帳簿を指定してください。";

// "failCall": {"name": "Class::Method", "nth": n, "code": c}; nth from 1, code nonzero.
void ReadFailCall(const nlohmann::json& object, Faults& faults) {
    const std::string place = "/faults/failCall";
    if (!object.is_object())
        Fail(place, "オブジェクトではありません。");
    CheckKeys(object, place, {"name", "nth", "code"});
    faults.failCallMethod = ReadText(Require(object, place, "name"), place + "/name", 64, false);
    if (!IsHostMethod(faults.failCallMethod))
        Fail(place + "/name", "ホストのメソッド名 (クラス::メソッド) ではありません。");
    faults.failCallNth =
        static_cast<long>(ReadInteger(Require(object, place, "nth"), place + "/nth", 1, INT32_MAX));
    faults.failCallCode =
        static_cast<long>(OptionalInteger(object, place, "code", INT32_MIN, INT32_MAX, 9));
    if (faults.failCallCode == 0)
        Fail(place + "/code", "0 は成功を表すので使えません。");
}

void ReadFaults(const nlohmann::json& object, Faults& faults, const std::string& base) {
    const std::string place = "/faults";
    CheckKeys(object, place,
              {"getSumCount", "setMovePos", "moveNextErrorRow", "moveNextErrorCode", "taxGet",
               "selectedDataNo", "failCall", "callLog"});
    faults.getSumCount =
        static_cast<long>(OptionalInteger(object, place, "getSumCount", INT32_MIN, INT32_MAX, 0));
    faults.setMovePos =
        static_cast<long>(OptionalInteger(object, place, "setMovePos", INT32_MIN, INT32_MAX, 0));
    faults.moveNextErrorRow =
        static_cast<long>(OptionalInteger(object, place, "moveNextErrorRow", 0, INT32_MAX, 0));
    faults.moveNextErrorCode = static_cast<long>(
        OptionalInteger(object, place, "moveNextErrorCode", INT32_MIN, INT32_MAX, 9));
    faults.taxGet =
        static_cast<long>(OptionalInteger(object, place, "taxGet", INT32_MIN, INT32_MAX, 0));
    if (const nlohmann::json* value = Find(object, "selectedDataNo")) {
        faults.replaceSelectedDataNo = true;
        faults.selectedDataNo = static_cast<long>(
            ReadInteger(*value, Key(place, "selectedDataNo"), INT32_MIN, INT32_MAX));
    }
    if (const nlohmann::json* value = Find(object, "failCall"))
        ReadFailCall(*value, faults);
    if (const nlohmann::json* value = Find(object, "callLog"))
        faults.callLogPath = Resolve(base, ReadPath(*value, Key(place, "callLog")));
}

std::string ReadPathText(const nlohmann::json& doc, const char* key, const char* fallback) {
    const nlohmann::json* value = Find(doc, key);
    return value == nullptr ? std::string(fallback) : ReadPath(*value, Key("", key));
}

void ReadConfig(const nlohmann::json& doc, const std::string& base, Config& config) {
    CheckKeys(doc, "",
              {"initiate", "expSysLink", "packageName", "book", "outputFolder", "settingsFolder",
               "rowDelayMs", "faults"});
    config.initiateResult =
        static_cast<long>(OptionalInteger(doc, "", "initiate", INT32_MIN, INT32_MAX, 0));
    config.expSysLinkResult =
        static_cast<long>(OptionalInteger(doc, "", "expSysLink", INT32_MIN, INT32_MAX, 0));
    if (const nlohmann::json* value = Find(doc, "packageName"))
        config.packageName = ReadText(*value, "/packageName", 255, true);
    config.bookPath = Resolve(base, ReadPathText(doc, "book", "trading.json"));
    config.outputFolder = ResolveFolder(base, ReadPathText(doc, "outputFolder", ""));
    config.settingsFolder = ResolveFolder(base, ReadPathText(doc, "settingsFolder", "."));
    config.rowDelayMs = static_cast<long>(OptionalInteger(doc, "", "rowDelayMs", 0, 10000, 0));
    if (const nlohmann::json* faults = Find(doc, "faults"))
        ReadFaults(*faults, config.faults, base);
}

void LoadBook(HostState& state) {
    const std::string& path = state.config.bookPath;
    std::string text, why;
    switch (ReadWholeFile(path, text, why)) {
    case ReadResult::kMissing:
        state.problem =
            ProblemMessage(kBookUnreadable, path, "-", "ファイルがありません。", kBookRemedy);
        return;
    case ReadResult::kFailed:
        state.problem = ProblemMessage(kBookUnreadable, path, "-",
                                       "読み込みに失敗しました (" + why + ")。", kBookRemedy);
        return;
    case ReadResult::kRead:
        break;
    }
    BookError error;
    if (!ParseBook(text, state.book, error)) {
        state.book = Book{};
        state.problem =
            ProblemMessage(kBookUnreadable, path, error.place, error.problem, kBookRemedy);
    }
}

void Load(HostState& state, const std::string& path) {
    state = HostState{};
    const std::string base = FolderOf(path);
    std::string text, why;
    const ReadResult read = ReadWholeFile(path, text, why);
    if (read == ReadResult::kFailed) {
        state.problem = ProblemMessage(kConfigUnreadable, path, "-",
                                       "読み込みに失敗しました (" + why + ")。", kConfigRemedy);
        state.config.initiateResult = -1;
        return;
    }
    // Without a file the host connects, permits the link and serves the default book.
    nlohmann::json doc = nlohmann::json::object();
    JsonProblem problem;
    if (read == ReadResult::kRead && !ParseJson(text, doc, problem)) {
        state.problem =
            ProblemMessage(kConfigUnreadable, path, problem.place, problem.problem, kConfigRemedy);
        state.config.initiateResult = -1;
        return;
    }
    try {
        ReadConfig(doc, base, state.config);
    } catch (const JsonProblem& p) {
        state.config = Config{};
        state.config.initiateResult = -1;
        state.problem = ProblemMessage(kConfigUnreadable, path, p.place, p.problem, kConfigRemedy);
        return;
    }
    LoadBook(state);
    if (!state.problem.empty())
        state.config.initiateResult = -1;
}

std::unique_ptr<HostState>& StateHolder() {
    static std::unique_ptr<HostState> state;
    return state;
}

const HostState& State() {
    std::unique_ptr<HostState>& state = StateHolder();
    if (!state) {
        state = std::make_unique<HostState>();
        Load(*state, ConfigPath());
    }
    return *state;
}

} // namespace

std::string ConfigPath() {
    if (const char* env = std::getenv("STANDIN_HOST_CONFIG"); env != nullptr && *env != '\0')
        return env;
    return platform::ProgramFolderOfProcess() + "StandinHost.json";
}

const Config& GetConfig() {
    return State().config;
}
const Book& GetBook() {
    return State().book;
}
const std::string& LoadProblem() {
    return State().problem;
}

long SelectedDataNo() {
    const Faults& faults = GetConfig().faults;
    return faults.replaceSelectedDataNo ? faults.selectedDataNo : GetBook().selectedDataNo;
}

const DataSet* SelectedDataSet() {
    const long dataNo = SelectedDataNo();
    for (const DataSet& data : GetBook().dataSets) {
        if (data.dataNo == dataNo)
            return &data;
    }
    return nullptr;
}

const DataSet* FindDataSet(const char* dataId) {
    for (const DataSet& data : GetBook().dataSets) {
        if (std::strncmp(data.dataId.c_str(), dataId, 16) == 0)
            return &data;
    }
    return nullptr;
}

long BindDataId(char (&field)[16], const char* dataId) {
    std::memset(field, 0, sizeof field);
    if (dataId == nullptr)
        return 1;
    std::strncpy(field, dataId, sizeof field - 1);
    return BoundDataSet(field) != nullptr ? 0 : 1;
}

const DataSet* BoundDataSet(const char (&field)[16]) {
    return field[0] == '\0' ? SelectedDataSet() : FindDataSet(field);
}

bool ReloadConfig(const std::string& path) {
    std::unique_ptr<HostState>& state = StateHolder();
    if (!state)
        state = std::make_unique<HostState>();
    Load(*state, path.empty() ? ConfigPath() : path);
    {
        const OwnCalls own;
        UnbindSetObjects();
    }
    ResetCalls();
    return state->problem.empty();
}

} // namespace standin
