#include "cli/ScanTree.h"

#include "client/ClientTypes.h"

std::optional<ScanTree> ScanDirectory(const std::function<void(std::int32_t)>& onEntry) {
    if (!CheckScanIdentity())
        return std::nullopt;
    class Builder final : public ContainerScanObserver {
    public:
        Builder(ScanTree& tree, const std::function<void(std::int32_t)>& onEntry) : tree_(tree), onEntry_(onEntry) {}
        void EntryCounted(bool) override {
            if (onEntry_)
                onEntry_(tree_.scan.Objects());
        }
        void ContainersListed(std::size_t parentId, std::vector<ScannedContainer>& containers) override {
            // Numbers are handed out while a container is listed and its containers come when that
            // listing ends: they arrive in order.
            for (ScannedContainer& container : containers) {
                tree_.nodes[parentId].children.push_back(container.id);
                tree_.nodes.push_back({std::move(container), {}});
            }
        }

    private:
        ScanTree& tree_;
        const std::function<void(std::int32_t)>& onEntry_;
    };
    ScanTree tree;
    tree.nodes.push_back({{0, 0, kRootName, kRootName, {}}, {}});
    Builder builder(tree, onEntry);
    tree.complete = tree.scan.Run(builder);
    return tree;
}
