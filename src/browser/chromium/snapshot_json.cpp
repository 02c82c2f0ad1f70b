#include "browser/chromium/snapshot_json.h"

#include <nlohmann/json.hpp>

#include "browser/implicit_forms.h"

namespace kv {

namespace {

using Json = nlohmann::json;

std::string Text(const Json& object, const char* key)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

long Number(const Json& object, const char* key, long fallback)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_number_integer() ? it->get<long>() : fallback;
}

const Json& Array(const Json& object, const char* key)
{
    static const Json empty = Json::array();
    const auto it = object.find(key);
    return it != object.end() && it->is_array() ? *it : empty;
}

class SnapshotReader {
public:
    SnapshotReader(const std::string& registryAgent,
                   const std::function<std::string(const std::string&)>& frameOf)
        : registryAgent_(registryAgent), frameOf_(frameOf)
    {
    }

    DocumentSnapshot document(const Json& doc, const std::string& fallbackFrame, int depth)
    {
        DocumentSnapshot out;
        const std::string agent = Text(doc, "agent");
        out.frameId = agent.empty() ? std::string() : frameOf_(agent);
        out.documentId = agent;
        const std::string refFrame = out.frameId.empty() ? fallbackFrame : out.frameId;
        out.url = Text(doc, "u");
        out.title = Text(doc, "ti");

        std::vector<DomElement> nodes;
        for (const auto& n : Array(doc, "nodes")) {
            if (!n.is_object())
                continue;
            DomElement e;
            e.Tagname = Text(n, "t");
            e.Type = Text(n, "ty");
            e.Value = Text(n, "v");
            e.Name = Text(n, "n");
            e.id = Text(n, "i");
            e.Href = Text(n, "h");
            e.formIndex = static_cast<int>(Number(n, "f", -1));
            const auto visible = n.find("vis");
            e.visible = visible == n.end() || !visible->is_boolean() || visible->get<bool>();
            e.autocomplete = Text(n, "ac");
            e.ref = NodeRef{refFrame, registryAgent_, Number(n, "r", -1)};
            nodes.push_back(std::move(e));
        }
        auto nodeAt = [&](const Json& index) -> const DomElement* {
            if (!index.is_number_integer())
                return nullptr;
            const long i = index.get<long>();
            return i >= 0 && i < static_cast<long>(nodes.size()) ? &nodes[static_cast<std::size_t>(i)]
                                                                 : nullptr;
        };
        for (const auto& index : Array(doc, "all"))
            if (const DomElement* e = nodeAt(index))
                out.All.push_back(*e);

        for (const auto& f : Array(doc, "f")) {
            if (!f.is_object())
                continue;
            DomForm form;
            form.index = static_cast<int>(out.Forms.size());
            form.Action = Text(f, "a");
            form.Name = Text(f, "n");
            form.method = Text(f, "m");
            for (const auto& pair : Array(f, "at"))
                if (pair.is_array() && pair.size() == 2 && pair[0].is_string() && pair[1].is_string())
                    form.attributes.emplace_back(pair[0].get<std::string>(), pair[1].get<std::string>());
            for (const auto& index : Array(f, "e"))
                if (const DomElement* e = nodeAt(index))
                    form.elements.push_back(*e);
            form.ref = NodeRef{refFrame, registryAgent_, Number(f, "r", -1)};
            out.Forms.push_back(std::move(form));
        }

        for (const auto& fr : Array(doc, "fr")) {
            FrameSnapshot frame;
            const auto ok = fr.is_object() ? fr.find("ok") : fr.end();
            const auto d = fr.is_object() ? fr.find("d") : fr.end();
            if (ok != fr.end() && ok->is_boolean() && ok->get<bool>() && d != fr.end() && d->is_object() &&
                depth < kMaxDepth) {
                frame.accessible = true;
                frame.document = document(*d, refFrame, depth + 1);
            }
            out.frames.push_back(std::move(frame));
        }
        AddImplicitForms(out);
        return out;
    }

private:
    static constexpr int kMaxDepth = 8;
    const std::string& registryAgent_;
    const std::function<std::string(const std::string&)>& frameOf_;
};

} // namespace

std::optional<DocumentSnapshot>
ParseSnapshot(const nlohmann::json& snapshot, const std::string& registryAgent,
              const std::function<std::string(const std::string&)>& frameOfAgent)
{
    if (!snapshot.is_object() || registryAgent.empty())
        return std::nullopt;
    SnapshotReader reader(registryAgent, frameOfAgent);
    DocumentSnapshot out = reader.document(snapshot, frameOfAgent(registryAgent), 0);
    const auto truncated = snapshot.find("trunc");
    out.truncated = truncated != snapshot.end() && truncated->is_boolean() && truncated->get<bool>();
    return out;
}

} // namespace kv
