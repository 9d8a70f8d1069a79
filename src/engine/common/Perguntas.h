// Questions the engine asks the user.
//
// An engine operation that needs the user's decision receives a Pergunta: it
// is called with the exact text of the question and answers yes, no or
// cancel. The front end shows the confirmation dialog; tests answer directly.
// An empty Pergunta counts as "cancel" wherever one is called.
#pragma once

#include <functional>
#include <string>

namespace zelto {

enum class Resposta { Sim, Nao, Cancelar };

using Pergunta = std::function<Resposta(const std::string &texto)>;

} // namespace zelto
