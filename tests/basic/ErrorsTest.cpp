#include <gtest/gtest.h>

#include "basic/Errors.h"

namespace movra {
namespace {

TEST(Errors, DescriptionsAndMessageLine) {
    struct Case {
        int number;
        const char* description;
    };
    for (Case c : {Case{3, "无 GoSub 返回"}, {5, "无效的过程调用或参数"}, {6, "溢出"}, {7, "内存不足"},
                   {9, "下标越界"}, {11, "除数为零"}, {13, "类型不匹配"}, {52, "文件名或文件号错误"},
                   {53, "文件未找到"}, {54, "文件方式错误"}, {55, "文件已打开"}, {57, "设备 I/O 错误"},
                   {58, "文件已存在"}, {59, "记录长度错误"}, {61, "磁盘已满"}, {62, "输入超出文件尾"},
                   {63, "记录号错误"}, {64, "文件名错误"}, {70, "拒绝的权限"}, {75, "路径/文件访问错误"},
                   {76, "路径未找到"}, {380, "无效的属性值"}, {424, "要求对象"}, {481, "无效图片"},
                   {32755, "取消"}}) {
        EXPECT_EQ(ErrorDescription(c.number), c.description) << c.number;
        RuntimeError e(c.number);
        EXPECT_EQ(e.description, c.description);
        EXPECT_EQ(MessageLineText(e), c.description + std::to_string(c.number));
    }
    EXPECT_EQ(MessageLineText(RuntimeError(6)), "溢出6");
    EXPECT_FALSE(ErrorDescription(12345).empty());
    EXPECT_EQ(MessageLineText(RuntimeError(1001, "自定义")), "自定义1001");
    try {
        Raise(9);
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 9);
        EXPECT_STREQ(e.what(), "下标越界9");
    }
}

}  // namespace
}  // namespace movra
