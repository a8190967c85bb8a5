#include "framework/tmessages.h"

#include "toolkit/tapplication.h"

namespace fw {

TMessages::TMessages(tk::TComponent* owner, std::string name, std::vector<std::string> rows)
    : tk::TComponent(owner, std::move(name)), Messages(std::move(rows)) {}

std::string TMessages::Msg(std::string_view key) const {
    for (const auto& row : Messages) {
        const auto bar = row.find('|');
        const std::string_view rowKey = std::string_view(row).substr(0, bar);
        if (rowKey == key) return bar == std::string::npos ? std::string() : row.substr(bar + 1);
    }
    return "Mensagem não cadastrada: " + std::string(key);
}

int TMessages::ShowMsg(std::string_view key, TMsgDlgType type, TMsgDlgButtons /*buttons*/, int /*helpContext*/) {
    auto& ui = tk::TApplication::Instance().UI();
    const std::string text = Msg(key);
    if (type == TMsgDlgType::mtConfirmation) return ui.Confirm(std::string(key), text) ? mrYes : mrNo;
    ui.ShowMessageError(text);
    return mrOk;
}

}  // namespace fw
