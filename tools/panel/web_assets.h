// The page's files (tools/panel/web/), built into the binary by
// embed_web.cmake: nothing is read from disk or fetched at run time.
#pragma once

#include <span>
#include <string_view>

namespace motqr::panel {

struct WebAsset {
  std::string_view path;  // "/index.html"
  std::string_view content_type;
  std::span<const unsigned char> bytes;
};

std::span<const WebAsset> WebAssets();

// The asset served for a request path ("/" is "/index.html"), or null.
inline const WebAsset* FindWebAsset(std::string_view path) {
  if (path == "/") path = "/index.html";
  for (const WebAsset& a : WebAssets())
    if (a.path == path) return &a;
  return nullptr;
}

}  // namespace motqr::panel
