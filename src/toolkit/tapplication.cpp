#include "toolkit/tapplication.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/exceptions.h"

namespace tk {

namespace {
// The host installs its application here; module entries take no arguments.
TApplication* g_instance = nullptr;
}  // namespace

TApplication::TApplication(IUserInterface& ui) : TComponent(nullptr, "Application"), ui_(ui) {}

TApplication::~TApplication() {
    if (g_instance == this) g_instance = nullptr;
    active_ = nullptr;
    MainForm = nullptr;
    released_.clear();
    // Newest first: a later form may refer to an earlier one.
    while (!forms_.empty()) forms_.pop_back();
}

TApplication& TApplication::Instance() {
    if (!g_instance) throw std::logic_error("no application installed");
    return *g_instance;
}

bool TApplication::HasInstance() { return g_instance != nullptr; }

void TApplication::SetInstance(TApplication* app) { g_instance = app; }

void TApplication::adopt(std::unique_ptr<TForm> form) { forms_.push_back(std::move(form)); }

void TApplication::ActivateForm(TForm* form) {
    if (form == active_) return;
    active_ = form;
    Changed();
    if (!form) return;
    try {
        form->DoActivate();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TApplication::Release(TForm* form) {
    auto it = std::find_if(forms_.begin(), forms_.end(), [form](const auto& f) { return f.get() == form; });
    if (it == forms_.end()) return;  // not ours, or already released
    if (active_ == form) active_ = nullptr;
    if (MainForm == form) MainForm = nullptr;
    released_.push_back(std::move(*it));
    forms_.erase(it);
    Changed();
}

void TApplication::ProcessReleased() {
    // Moved out first: a dying form may release another one.
    auto doomed = std::move(released_);
    released_.clear();
    doomed.clear();
}

void TApplication::HandleException(std::exception_ptr e) {
    auto show = [this](const std::exception_ptr& failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const EAbort&) {
        } catch (const std::exception& x) {
            ui_.ShowException(x.what());
        } catch (...) {
            ui_.ShowException("Falha desconhecida.");
        }
    };
    if (e) show(e);
    // Moved out first: showing one may note another.
    auto noted = std::move(noted_);
    noted_.clear();
    for (const auto& failure : noted) show(failure);
}

void TApplication::NoteFailure(std::exception_ptr e) {
    if (e) noted_.push_back(std::move(e));
}

}  // namespace tk
