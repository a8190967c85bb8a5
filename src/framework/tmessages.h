// Message component: rows of "key|text", looked up by key; questions through the view.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/tcomponent.h"

namespace fw {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8;
inline constexpr int mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7;

class TMessages : public tk::TComponent {
public:
    TMessages(tk::TComponent* owner, std::string name, std::vector<std::string> rows = {});

    // Rows "key|text", in order.
    std::vector<std::string> Messages;

    // The text of the first row with that exact key. A missing key gives a visible
    // "Mensagem não cadastrada: KEY" instead of failing.
    std::string Msg(std::string_view key) const;
    // Shows the key's text: a confirmation asks the view (mrYes or mrNo); any other type
    // is shown as a message (mrOk).
    int ShowMsg(std::string_view key, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
};

}  // namespace fw
