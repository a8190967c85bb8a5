// Client proxy of the remote data module rdmComissao: one call per server method.
#pragma once
#include <string>

#include "framework/tnetconnection.h"
#include "wire/packet.h"

namespace server {

// Each method calls the server method of the same name through the connection, with the
// arguments in the server's order, and returns its reply; a failed call raises
// fw::EServerError. Callers take a reply's data through Consiste::CheckResultServ.
class RdmComissao {
public:
    explicit RdmComissao(fw::TNetConnection& connection) : connection_(connection) {}

    fw::TServerReply GetComissao();
    fw::TServerReply SetComissao(const wire::ChangeLog& delta);
    fw::TServerReply GetCargo(double nrComissao);
    fw::TServerReply SetCargo(const wire::ChangeLog& delta);
    fw::TServerReply GetEvento(double nrComissao);
    fw::TServerReply SetEvento(const wire::ChangeLog& delta);
    fw::TServerReply GetPromocao(double nrComissao);
    fw::TServerReply SetPromocao(const wire::ChangeLog& delta);
    fw::TServerReply GetPercentual(double nrComissao, double ruleNumber, const std::string& scopeKind);
    fw::TServerReply SetPercCargo(const wire::ChangeLog& delta);
    fw::TServerReply SetPercEvento(const wire::ChangeLog& delta);
    fw::TServerReply SetPercPromocao(const wire::ChangeLog& delta);
    fw::TServerReply GetVdCargo(double nrComissao, const std::string& idCargoVend);
    fw::TServerReply getEventoCad(double nrComissao, const std::string& cdTipoEvento, const std::string& idCargoVend);
    fw::TServerReply getVdDtPromo(double nrComissao);
    fw::TServerReply getVdVrCargo(double nrComissao, double ruleNumber);
    fw::TServerReply getVdVrEvento(double nrComissao, double ruleNumber);
    fw::TServerReply getVdVrPromocao(double nrComissao, double ruleNumber);

private:
    fw::TNetConnection& connection_;
};

}  // namespace server
