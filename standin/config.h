// The stand-in host's configuration and the book it serves. The configuration is
// "StandinHost.json" in the program's folder, or the file named by the environment variable
// STANDIN_HOST_CONFIG (keys in standin/README.md). Tests set the host's answers here.
#pragma once

#include "standin/book.h"

#include <string>

namespace standin {

// Host calls made to fail, for tests of the callers.
struct Faults {
    long getSumCount = 0;
    long setMovePos = 0;
    long moveNextErrorRow = 0; // 1 = the first row; 0 = none
    long moveNextErrorCode = 9;
    long taxGet = 0;
    bool replaceSelectedDataNo = false;
    long selectedDataNo = 0;
    // The call numbered failCallNth of the host method failCallMethod ("Class::Method") answers
    // failCallCode (a pointer: null); empty: none.
    std::string failCallMethod;
    long failCallNth = 0;
    long failCallCode = 0;
    // Every host call answered is appended to this file; empty: none.
    std::string callLogPath;
};

struct Config {
    long initiateResult = 0;
    long expSysLinkResult = 0;
    // Replaces "ES_APRPACKAGENAME" in the texts of DispMsg.
    std::string packageName = "Quorin申告";
    std::string bookPath;       // resolved against the configuration's folder
    std::string outputFolder;   // with a trailing separator, or empty
    std::string settingsFolder; // with a trailing separator, or empty
    // Milliseconds ClRuleKamoku::MoveNext waits before each row it delivers: a run slow enough
    // to watch its progress window (screenshots).
    long rowDelayMs = 0;
    Faults faults;
};

// Path of the configuration file in use.
std::string ConfigPath();
// The configuration, read once per process (or again by ReloadConfig).
const Config& GetConfig();

// The book of the configuration; empty when it could not be read.
const Book& GetBook();
// The message for the host's message service when the configuration or the book could not be
// read (Shift_JIS, naming the file, the place and the problem); empty when both were read.
const std::string& LoadProblem();

// The data number the user has selected: the book's, or the fault's.
long SelectedDataNo();
// The data set the user has selected (the book's selected data number, or the fault's), or
// null when none has that number.
const DataSet* SelectedDataSet();
// The data set with the given data ID, or null.
const DataSet* FindDataSet(const char* dataId);

// Binds a set or rule object's data-ID field (16 bytes) to dataId; an empty ID binds it to the
// data the user has selected. 1 when dataId is null or names no data set (the object then serves
// no data), else 0.
long BindDataId(char (&field)[16], const char* dataId);
// The data set that an object bound with BindDataId serves, or null.
const DataSet* BoundDataSet(const char (&field)[16]);

// Binds the host's set objects again to the selected data and drops every open cursor (after
// the book changed).
void UnbindSetObjects();

} // namespace standin
