// Test doubles for the framework's tests: a view that records what it is asked, and the
// application and host services installed around each test.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "framework/host_services.h"
#include "toolkit/tapplication.h"
#include "toolkit/tclientdataset.h"
#include "toolkit/user_interface.h"

namespace fwtest {

// Records every request as one line ("confirm Excl: text", "error: text", "wait 6", ...).
class RecordingUI : public tk::IUserInterface {
public:
    std::vector<std::string> log;
    std::deque<bool> answers;   // for Confirm; an unanswered question is a test failure
    bool searchPicks = true;

    bool Confirm(const std::string& key, const std::string& text) override {
        log.push_back("confirm " + key + ": " + text);
        if (answers.empty()) {
            log.push_back("unanswered question");
            return false;
        }
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void ShowMessageError(const std::string& text) override { log.push_back("message: " + text); }
    void ShowException(const std::string& text) override { log.push_back("error: " + text); }
    bool Search(tk::TClientDataSet& data, const std::string& title) override {
        log.push_back("search " + data.Name() + " '" + title + "' rows=" + std::to_string(data.RecordCount()));
        return searchPicks;
    }
    void Find(tk::TClientDataSet& data) override { log.push_back("find " + data.Name()); }
    void WaitShow(int kind) override { log.push_back("wait " + std::to_string(kind)); }
    void WaitHide() override { log.push_back("wait hidden"); }
};

// The application and the host's services, installed for one test's life.
class FrameworkEnv {
public:
    explicit FrameworkEnv(fw::HostSettings settings = {})
        : app(ui), host(std::move(settings)) {
        tk::TApplication::SetInstance(&app);
        fw::HostServices::SetInstance(&host);
    }
    ~FrameworkEnv() {
        fw::HostServices::SetInstance(nullptr);
        tk::TApplication::SetInstance(nullptr);
    }
    RecordingUI ui;
    tk::TApplication app;
    fw::HostServices host;
};

}  // namespace fwtest
