#include "core/generators/registry.h"

#include "core/generators/composite_gens.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"

namespace kelvast {

std::unique_ptr<TColParams> CreateParams(TColType t) {
  switch (t) {
    case ctFirstName: return std::make_unique<TCPFirstName>();
    case ctLastName: return std::make_unique<TCPLastName>();
    case ctFirstLastName: return std::make_unique<TCPFirstLastName>();
    case ctDictWord: return std::make_unique<TCPDictWord>();
    case ctMemo: return std::make_unique<TCPMemo>();
    case ctZip: return std::make_unique<TCPZip>();
    case ctTown: return std::make_unique<TCPTown>();
    case ctAddress: return std::make_unique<TCPAddress>();
    case ctCountry: return std::make_unique<TCPCountry>();
    case ctUSStates: return std::make_unique<TCPUSStates>();
    case ctFormatted: return std::make_unique<TCPFormatted>();
    case ctInteger: return std::make_unique<TCPInteger>();
    case ctBit: return std::make_unique<TCPBit>();
    case ctIncremental: return std::make_unique<TCPIncremental>();
    case ctFloat: return std::make_unique<TCPFloat>();
    case ctDate: return std::make_unique<TCPDate>();
    case ctTime: return std::make_unique<TCPTime>();
    case ctDateTime: return std::make_unique<TCPDateTime>();
    case ctColRef: return std::make_unique<TCPColRef>();
    case ctConst: return std::make_unique<TCPConst>();
    case ctCombo: return std::make_unique<TCPCombo>();
    case ctemail: return std::make_unique<TCPEmail>();
    case ctWeb: return std::make_unique<TCPWebSite>();
    case ctSex: return std::make_unique<TCPSexGen>();
    case ctnone:
    case ctstring:
      break;
  }
  return std::make_unique<TCPString>();
}

std::unique_ptr<TColParams> CreatePerson() { return std::make_unique<TCPSex>(); }

}  // namespace kelvast
