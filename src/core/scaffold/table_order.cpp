// SPDX-License-Identifier: MIT
#include "core/scaffold/table_order.h"

#include <algorithm>
#include <map>

#include "core/platform/errors.h"

namespace kelvast {

namespace {

struct TEdge {
  size_t From;  // the table that holds the key
  size_t To;    // the table it references
  const TForeignKey* Key;
  bool Active = true;
};

}  // namespace

bool KeyIsNullable(const TTableSchema& table, const TForeignKey& key) {
  for (const std::string& name : key.Columns) {
    const TColumnInfo* c = table.Column(name);
    if (!c || c->IsNullable == "NO") return false;
  }
  return !key.Columns.empty();
}

TTableOrder OrderTables(const std::vector<TTableSchema>& tables) {
  std::map<std::string, size_t> index;
  for (size_t i = 0; i < tables.size(); ++i) index.emplace(tables[i].Name, i);
  std::vector<TEdge> edges;
  for (size_t i = 0; i < tables.size(); ++i)
    for (const TForeignKey& key : tables[i].ForeignKeys) {
      const auto to = index.find(key.RefTable);
      if (to != index.end()) edges.push_back({i, to->second, &key});
    }

  TTableOrder order;
  std::vector<bool> placed(tables.size(), false);
  const auto ready = [&](size_t t) {
    return std::none_of(edges.begin(), edges.end(), [&](const TEdge& e) {
      return e.Active && e.From == t && !placed[e.To];
    });
  };
  while (order.Tables.size() < tables.size()) {
    bool progressed = false;
    for (size_t t = 0; t < tables.size(); ++t) {
      if (placed[t] || !ready(t)) continue;
      placed[t] = true;
      order.Tables.push_back(tables[t].Name);
      progressed = true;
      break;  // the earliest ready table first, then look again from the start
    }
    if (progressed) continue;

    // Every table left waits for another: walk the waiting edges from the first one until a
    // table comes back; the edges walked since its first visit are a cycle.
    size_t at = 0;
    while (placed[at]) ++at;
    std::vector<size_t> path;  // edge indexes
    std::map<size_t, size_t> visited;  // table -> position in path when first reached
    while (visited.find(at) == visited.end()) {
      visited[at] = path.size();
      for (size_t e = 0; e < edges.size(); ++e)
        if (edges[e].Active && edges[e].From == at && !placed[edges[e].To]) {
          path.push_back(e);
          at = edges[e].To;
          break;
        }
    }
    const std::vector<size_t> cycle(path.begin() + static_cast<ptrdiff_t>(visited[at]), path.end());
    const auto breakable = std::find_if(cycle.begin(), cycle.end(), [&](size_t e) {
      return KeyIsNullable(tables[edges[e].From], *edges[e].Key);
    });
    if (breakable == cycle.end()) {
      std::string names;
      for (size_t e : cycle) {
        const std::string& name = tables[edges[e].From].Name;
        if (names.find("\"" + name + "\"") != std::string::npos) continue;
        names += (names.empty() ? "" : ", ") + ("\"" + name + "\"");
      }
      throw EKelvastError("The foreign keys of the tables " + names +
                          " form a cycle in which every column is NOT NULL: no order of "
                          "inserts can fill them.");
    }
    edges[*breakable].Active = false;
    order.Broken.push_back({tables[edges[*breakable].From].Name, *edges[*breakable].Key});
  }
  return order;
}

}  // namespace kelvast
