// motqr-member-listing: prints every interface member, one line each (see
// instrument/member_listing.h), for generators of other languages' bindings.
#include <cstdio>

#include "instrument/member_listing.h"

int main() {
  const std::string listing = motqr::instrument::MemberListing();
  return std::fwrite(listing.data(), 1, listing.size(), stdout) == listing.size() ? 0 : 1;
}
