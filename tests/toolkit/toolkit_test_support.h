// Test doubles for the toolkit's control tests: a view that records what it is asked and
// an event trace rendered as one string.
#pragma once
#include <string>
#include <vector>

#include "toolkit/tclientdataset.h"
#include "toolkit/user_interface.h"

namespace tktest {

// Records every request as one line; confirmations are answered with `answer` (Yes).
class RecordingUI : public tk::IUserInterface {
public:
    std::vector<std::string> log;
    bool answer = true;
    bool Confirm(const std::string& key, const std::string&) override {
        log.push_back("confirm " + key);
        return answer;
    }
    void ShowMessageError(const std::string& text) override { log.push_back("message: " + text); }
    void ShowException(const std::string& text) override { log.push_back("error: " + text); }
    bool Search(tk::TClientDataSet& data, const std::string&) override {
        log.push_back("search " + data.Name());
        return false;
    }
    void Find(tk::TClientDataSet& data) override { log.push_back("find " + data.Name()); }
    void WaitShow(int kind) override { log.push_back("wait " + std::to_string(kind)); }
    void WaitHide() override { log.push_back("wait hidden"); }
    void FormShown(tk::TForm&) override { log.push_back("shown"); }
    void FormClosed(tk::TForm&) override { log.push_back("closed"); }
};

// Events in the order they happened: "exit gridA, enter gridB".
class Trace {
public:
    void operator()(std::string event) { events_.push_back(std::move(event)); }
    std::string str() const {
        std::string out;
        for (const auto& e : events_) out += (out.empty() ? "" : ", ") + e;
        return out;
    }
    void clear() { events_.clear(); }

private:
    std::vector<std::string> events_;
};

}  // namespace tktest
