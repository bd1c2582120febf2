// The member listing: every row of every interface as one line of
// tab-separated fields, the form a binding for another language is generated
// from (the motqr-member-listing program prints it):
//
//   interface  member  kind  arguments  results  query  reply  set  sim
//
// Empty fields stand for "none"; `sim` is "sim" for a member that keeps a
// simulation value, "-" otherwise.
#pragma once

#include <string>

namespace motqr::instrument {

std::string MemberListing();

}  // namespace motqr::instrument
