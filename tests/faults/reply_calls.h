// One member call for each kind of reply the driver reads (numbers, text,
// lists, enumeration tokens, blocks, several fields), shared by the broken-reply
// tests and the exchange property test: each runs its member on the session and
// renders what it returned as an Outcome.
#pragma once

#include "tests/faults/fault_session.h"

namespace motqr::faults::calls {

Outcome Real(FaultSession& s);
Outcome Integer(FaultSession& s);
Outcome Short(FaultSession& s);
Outcome Boolean(FaultSession& s);
Outcome Token(FaultSession& s);
Outcome MinMax(FaultSession& s);
Outcome Measurement(FaultSession& s);
Outcome RealList(FaultSession& s);
Outcome ExponentList(FaultSession& s);
Outcome Block(FaultSession& s);
Outcome IntegerList(FaultSession& s);
Outcome Line(FaultSession& s);
Outcome QuotedName(FaultSession& s);
Outcome QuotedList(FaultSession& s);
Outcome TokenList(FaultSession& s);
Outcome NumbersAndText(FaultSession& s);
Outcome Fields(FaultSession& s);
Outcome ErrorEntry(FaultSession& s);

}  // namespace motqr::faults::calls
