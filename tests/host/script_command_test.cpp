// Parsing of host script lines: verbs, arguments, comments, literal texts, key names.
#include <gtest/gtest.h>

#include "host/script_command.h"
#include "host/script_error.h"

namespace host {
namespace {

std::vector<std::string> argsOf(std::string_view line) {
    auto c = parseScriptLine(line, 1);
    EXPECT_TRUE(c.has_value()) << line;
    return c ? c->args : std::vector<std::string>{};
}

std::string errorOf(std::string_view line, int lineNo = 7) {
    try {
        parseScriptLine(line, lineNo);
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ScriptLineTest, BlankAndCommentLinesAreSkipped) {
    EXPECT_FALSE(parseScriptLine("", 1));
    EXPECT_FALSE(parseScriptLine("   \t", 1));
    EXPECT_FALSE(parseScriptLine("# open", 1));
    EXPECT_FALSE(parseScriptLine("   # indented comment", 1));
    EXPECT_FALSE(parseScriptLine("\r", 1));
}

TEST(ScriptLineTest, EveryFixedVerbParsesWithItsArguments) {
    struct Case {
        std::string line;
        Verb verb;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {"open", Verb::Open, {}},
        {"activate", Verb::Activate, {}},
        {"close", Verb::Close, {}},
        {"tab tshFormulario", Verb::Tab, {"tshFormulario"}},
        {"menu mnuTipoEvento", Verb::Menu, {"mnuTipoEvento"}},
        {"click sbtIncluir", Verb::Click, {"sbtIncluir"}},
        {"nav last", Verb::Nav, {"last"}},
        {"focus dbgCargo", Verb::Focus, {"dbgCargo"}},
        {"column dbgCargo IDCARGOVEND", Verb::Column, {"dbgCargo", "IDCARGOVEND"}},
        {"row dbgPadrao 3", Verb::Row, {"dbgPadrao", "3"}},
        {"type dbgPercCargo 12,5", Verb::Type, {"dbgPercCargo", "12,5"}},
        {"key dbgPadrao Enter", Verb::Key, {"dbgPadrao", "Enter"}},
        {"pick dbgCargo Vendedor", Verb::Pick, {"dbgCargo", "Vendedor"}},
        {"button dbgEvento", Verb::Button, {"dbgEvento"}},
        {"answer no", Verb::Answer, {"no"}},
        {"search 2", Verb::Search, {"2"}},
        {"search cancel", Verb::Search, {"cancel"}},
        {"show cdsComissao", Verb::Show, {"cdsComissao"}},
        {"state", Verb::State, {}},
        {"wait 2", Verb::Wait, {"2"}},
        {"wait 0.5", Verb::Wait, {"0.5"}},
    };
    for (const auto& c : cases) {
        auto parsed = parseScriptLine(c.line, 4);
        ASSERT_TRUE(parsed) << c.line;
        EXPECT_EQ(parsed->verb, c.verb) << c.line;
        EXPECT_EQ(parsed->args, c.args) << c.line;
        EXPECT_EQ(parsed->line, 4);
    }
}

TEST(ScriptLineTest, TypeAndPickKeepTheRestOfTheLineLiterally) {
    EXPECT_EQ(argsOf("type dbgPadrao Tabela de 2025"), (std::vector<std::string>{"dbgPadrao", "Tabela de 2025"}));
    EXPECT_EQ(argsOf("pick dbgPromocao Data do Evento"),
              (std::vector<std::string>{"dbgPromocao", "Data do Evento"}));
    // A '#' inside a text is typed, not a comment; inner and trailing blanks stay.
    EXPECT_EQ(argsOf("type dbgPadrao a # b  "), (std::vector<std::string>{"dbgPadrao", "a # b  "}));
    // Only the one separator goes: a leading blank of the text is typed.
    EXPECT_EQ(argsOf("type dbgPadrao  x"), (std::vector<std::string>{"dbgPadrao", " x"}));
    // A Windows line end is not part of the text.
    EXPECT_EQ(argsOf("type dbgPadrao Comissão\r"), (std::vector<std::string>{"dbgPadrao", "Comissão"}));
}

TEST(ScriptLineTest, WordCommandsAcceptTrailingCommentsAndExtraBlanks) {
    EXPECT_EQ(argsOf("  click   sbtIncluir   # new table"), (std::vector<std::string>{"sbtIncluir"}));
    EXPECT_EQ(argsOf("state\t# look"), std::vector<std::string>{});
}

TEST(ScriptLineTest, MalformedLinesAreScriptErrorsNamingTheLine) {
    EXPECT_EQ(errorOf("opne"), "line 7: unknown command 'opne'");
    EXPECT_NE(errorOf("Open").find("unknown command"), std::string::npos);  // verbs are lower case
    EXPECT_NE(errorOf("click").find("line 7: click needs 1"), std::string::npos);
    EXPECT_NE(errorOf("click # sbtIncluir").find("needs"), std::string::npos);
    EXPECT_NE(errorOf("column dbgCargo").find("needs 2"), std::string::npos);
    EXPECT_NE(errorOf("type dbgPadrao").find("needs a text"), std::string::npos);
    EXPECT_NE(errorOf("type dbgPadrao ").find("needs a text"), std::string::npos);
    EXPECT_NE(errorOf("open now").find("unexpected 'now'"), std::string::npos);
    EXPECT_NE(errorOf("click sbtIncluir sbtAlterar").find("unexpected"), std::string::npos);
}

TEST(ScriptLineTest, ArgumentsOutsideTheirSetAreRefused) {
    for (const char* line : {"nav middle", "nav First", "answer maybe", "answer Yes", "search 0", "search -1",
                             "search two", "search 1x", "row dbgPadrao 0", "row dbgPadrao x", "key dbgPadrao F5",
                             "key dbgPadrao Alt+Tab", "key dbgPadrao Ctrl+Ctrl+Tab", "wait -1", "wait 1,5",
                             "wait 1.", "wait two", "wait 86401"}) {
        EXPECT_NE(errorOf(line).find("line 7:"), std::string::npos) << line;
    }
}

TEST(KeyStrokeTest, NamesMapToVirtualKeys) {
    const std::vector<std::pair<std::string, std::uint16_t>> keys = {
        {"Enter", tk::VK_RETURN}, {"Tab", tk::VK_TAB},       {"Backspace", tk::VK_BACK},
        {"Escape", tk::VK_ESCAPE}, {"Delete", tk::VK_DELETE}, {"Insert", tk::VK_INSERT},
        {"Up", tk::VK_UP},         {"Down", tk::VK_DOWN},     {"Left", tk::VK_LEFT},
        {"Right", tk::VK_RIGHT},
    };
    for (const auto& [name, vk] : keys) {
        auto k = keyStrokeOf(name);
        ASSERT_TRUE(k) << name;
        EXPECT_EQ(k->vk, vk) << name;
        EXPECT_EQ(k->shift, 0u) << name;
    }
    EXPECT_EQ(keyStrokeOf("enter")->vk, tk::VK_RETURN);
    auto backTab = keyStrokeOf("Shift+Tab");
    ASSERT_TRUE(backTab);
    EXPECT_EQ(backTab->vk, tk::VK_TAB);
    EXPECT_EQ(backTab->shift, tk::ssShift);
    for (const char* name : {"Ctrl+Shift+Tab", "shift+ctrl+tab"}) {
        auto k = keyStrokeOf(name);
        ASSERT_TRUE(k) << name;
        EXPECT_EQ(k->vk, tk::VK_TAB) << name;
        EXPECT_EQ(k->shift, tk::ssCtrl | tk::ssShift) << name;
    }
    EXPECT_EQ(keyStrokeOf("Ctrl+Delete")->shift, tk::ssCtrl);
    EXPECT_FALSE(keyStrokeOf("Home"));
    EXPECT_FALSE(keyStrokeOf(""));
}

TEST(Utf8Test, DecodesOneCodePointPerCharacter) {
    EXPECT_EQ(decodeUtf8("a1,"), U"a1,");
    EXPECT_EQ(decodeUtf8("Comissão"), U"Comissão");
    EXPECT_EQ(decodeUtf8("€𝄞"), U"€𝄞");
    EXPECT_EQ(decodeUtf8(""), U"");
}

TEST(Utf8Test, MalformedSequencesAreScriptErrors) {
    for (std::string bad : {std::string("\xC3"), std::string("a\xC3("), std::string("\x80"),
                            std::string("\xC0\xAF"),           // overlong '/'
                            std::string("\xED\xA0\x80"),       // a surrogate
                            std::string("\xF4\x90\x80\x80")})  // past U+10FFFF
        EXPECT_THROW(decodeUtf8(bad), ScriptError) << bad;
}

TEST(OneLineTest, LineBreaksBecomeVisibleEscapes) {
    EXPECT_EQ(oneLine("Data inválida"), "Data inválida");
    EXPECT_EQ(oneLine("a\nb\r\nc\rd"), "a\\nb\\nc\\nd");
}

}  // namespace
}  // namespace host
