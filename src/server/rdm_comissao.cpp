#include "server/rdm_comissao.h"

namespace server {

fw::TServerReply RdmComissao::GetComissao() { return connection_.Call("GetComissao", {}); }
fw::TServerReply RdmComissao::SetComissao(const wire::ChangeLog& delta) { return connection_.Call("SetComissao", {delta}); }
fw::TServerReply RdmComissao::GetCargo(double nr) { return connection_.Call("GetCargo", {nr}); }
fw::TServerReply RdmComissao::SetCargo(const wire::ChangeLog& delta) { return connection_.Call("SetCargo", {delta}); }
fw::TServerReply RdmComissao::GetEvento(double nr) { return connection_.Call("GetEvento", {nr}); }
fw::TServerReply RdmComissao::SetEvento(const wire::ChangeLog& delta) { return connection_.Call("SetEvento", {delta}); }
fw::TServerReply RdmComissao::GetPromocao(double nr) { return connection_.Call("GetPromocao", {nr}); }
fw::TServerReply RdmComissao::SetPromocao(const wire::ChangeLog& delta) { return connection_.Call("SetPromocao", {delta}); }

fw::TServerReply RdmComissao::GetPercentual(double nr, double rule, const std::string& kind) {
    return connection_.Call("GetPercentual", {nr, rule, kind});
}

fw::TServerReply RdmComissao::SetPercCargo(const wire::ChangeLog& delta) { return connection_.Call("SetPercCargo", {delta}); }
fw::TServerReply RdmComissao::SetPercEvento(const wire::ChangeLog& delta) { return connection_.Call("SetPercEvento", {delta}); }
fw::TServerReply RdmComissao::SetPercPromocao(const wire::ChangeLog& delta) { return connection_.Call("SetPercPromocao", {delta}); }

fw::TServerReply RdmComissao::GetVdCargo(double nr, const std::string& cargo) {
    return connection_.Call("GetVdCargo", {nr, cargo});
}

fw::TServerReply RdmComissao::getEventoCad(double nr, const std::string& tipo, const std::string& cargo) {
    return connection_.Call("getEventoCad", {nr, tipo, cargo});
}

fw::TServerReply RdmComissao::getVdDtPromo(double nr) { return connection_.Call("getVdDtPromo", {nr}); }
fw::TServerReply RdmComissao::getVdVrCargo(double nr, double rule) { return connection_.Call("getVdVrCargo", {nr, rule}); }
fw::TServerReply RdmComissao::getVdVrEvento(double nr, double rule) { return connection_.Call("getVdVrEvento", {nr, rule}); }
fw::TServerReply RdmComissao::getVdVrPromocao(double nr, double rule) { return connection_.Call("getVdVrPromocao", {nr, rule}); }

}  // namespace server
