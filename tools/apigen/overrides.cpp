#include "tools/apigen/overrides.h"

#include <fstream>
#include <sstream>

#include "tools/apigen/vb_text.h"

namespace bw::apigen {

Overrides Overrides::Parse(std::string_view text) {
  Overrides result;
  std::istringstream in{std::string(text)};
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;)
      w.push_back(word);
    if (w.empty()) continue;
    auto fail = [&](const std::string& why) {
      throw OverridesError("overrides line " + std::to_string(number) + ": " + why);
    };
    Override o;
    o.line = number;
    if (w[0] == "rename") {
      o.kind = Override::Kind::kRename;
    } else if (w[0] == "optional") {
      o.kind = Override::Kind::kOptional;
    } else if (w[0] == "resource") {
      o.kind = Override::Kind::kResource;
    } else if (w[0] == "address") {
      o.kind = Override::Kind::kAddress;
    } else if (w[0] == "type") {
      o.kind = Override::Kind::kType;
    } else {
      fail("unknown override '" + w[0] + "'");
    }
    if (w.size() != 3) fail("'" + w[0] + "' takes two names");
    o.target = w[1];
    const bool renames = o.kind == Override::Kind::kRename || o.kind == Override::Kind::kType;
    (renames ? o.name : o.param) = w[2];
    if (renames && !IsVbIdentifier(o.name)) fail("'" + o.name + "' is not a usable name");
    if (result.Find(o.kind, o.target, o.param) != nullptr) fail("repeats an earlier override");
    result.all_.push_back(std::move(o));
  }
  for (auto& o : result.all_)
    o.used = false;  // Find above marked them while checking repeats
  return result;
}

Overrides Overrides::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw OverridesError("cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str());
}

const Override* Overrides::Find(Override::Kind kind, std::string_view target,
                                std::string_view param) const {
  for (const auto& o : all_) {
    if (o.kind == kind && o.target == target && o.param == param) {
      o.used = true;
      return &o;
    }
  }
  return nullptr;
}

std::vector<const Override*> Overrides::Unused() const {
  std::vector<const Override*> out;
  for (const auto& o : all_)
    if (!o.used) out.push_back(&o);
  return out;
}

}  // namespace bw::apigen
