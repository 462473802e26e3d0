#include "client/chatview/emoticon_table.h"

namespace vinylo::client {

const std::array<EmoticonEntry, kEmoticonCount>& EmoticonTable() {
    static constexpr std::array<EmoticonEntry, kEmoticonCount> table{{
        {"a1", "doge02", "org"},
        {"7b", "miaomiao", "thumb"},
        {"22", "erha", "org"},
        {"62", "tanshou", "org"},
        {"01", "chigua", "thumb"},
        {"83", "kuxiao", "thumb"},
        {"4d", "huaixiao", "org"},
        {"4a", "xiaoku", "thumb"},
        {"fa", "chanzui", "thumb"},
        {"fd", "baibai", "thumb"},
        {"c1", "youhengheng", "thumb"},
        {"87", "zhouma", "thumb"},
        {"ae", "ding", "org"},
        {"e3", "weixioa02", "org"},
        {"71", "touxiao", "org"},
        {"3e", "tianping", "thumb"},
        {"2c", "qinqin", "thumb"},
        {"1e", "taikaixin", "org"},
        {"9d", "huaxin", "org"},
        {"aa", "bingbujiandan", "thumb"},
        {"7c", "heng", "thumb"},
        {"9a", "wabi", "thumb"},
        {"b0", "xu", "org"},
        {"9e", "yinxian", "org"},
        {"2d", "xiaoerbuyu", "org"},
    }};
    return table;
}

std::string EmoticonAddress(int index, std::string_view host) {
    if (index < 0 || index >= kEmoticonCount)
        return {};
    const EmoticonEntry& e = EmoticonTable()[static_cast<std::size_t>(index)];
    std::string address(host);
    address.append("/t4/appstyle/expression/ext/normal/")
        .append(e.dir)
        .append("/2018new_")
        .append(e.name)
        .append("_")
        .append(e.variant)
        .append(".png");
    return address;
}

}  // namespace vinylo::client
