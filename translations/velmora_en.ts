<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>TFrmMain</name>
    <message>
        <source>图片文件已丢失</source>
        <translation>The picture file is missing</translation>
    </message>
    <message>
        <source>无法读取这张图片</source>
        <translation>This picture cannot be read</translation>
    </message>
    <message>
        <source>删除全部音乐</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>删除当前音乐</source>
        <translation>Delete song</translation>
    </message>
    <message>
        <source>编辑音乐信息</source>
        <translation>Edit song</translation>
    </message>
    <message>
        <source>继续加入音乐</source>
        <translation>Add songs</translation>
    </message>
    <message>
        <source>删除全部图片</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>删除当前图片</source>
        <translation>Delete picture</translation>
    </message>
    <message>
        <source>编辑图片信息</source>
        <translation>Edit picture</translation>
    </message>
    <message>
        <source>继续加入图片</source>
        <translation>Add pictures</translation>
    </message>
    <message>
        <source>编辑相册《%1》中的图片与音乐</source>
        <translation>Pictures and songs of the album “%1”</translation>
    </message>
    <message>
        <source>当前相册全部音乐列表 [暂无音乐]</source>
        <translation>Songs of this album [none yet]</translation>
    </message>
    <message>
        <source>当前相册全部音乐列表 [共%1张音乐]</source>
        <translation>Songs of this album [%1 in all]</translation>
    </message>
    <message>
        <source>音乐视听[暂无]</source>
        <translation>Listen [none]</translation>
    </message>
    <message>
        <source>音乐视听[第%1张]</source>
        <translation>Listen [No. %1]</translation>
    </message>
    <message>
        <source>当前相册全部图片列表 [暂无图片]</source>
        <translation>Pictures of this album [none yet]</translation>
    </message>
    <message>
        <source>当前相册全部图片列表 [共%1张图片]</source>
        <translation>Pictures of this album [%1 in all]</translation>
    </message>
    <message>
        <source>图片预览[暂无]</source>
        <translation>Preview [none]</translation>
    </message>
    <message>
        <source>图片预览[第%1张]</source>
        <translation>Preview [No. %1]</translation>
    </message>
    <message>
        <source>现有相册列表[共%1个]</source>
        <translation>Albums [%1 in all]</translation>
    </message>
    <message>
        <source>现有相册列表[暂无]</source>
        <translation>Albums [none yet]</translation>
    </message>
    <message>
        <source>相册名称</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>停留时间</source>
        <translation>Dwell</translation>
    </message>
    <message>
        <source>过渡效果</source>
        <translation>Effect</translation>
    </message>
    <message>
        <source>图片题目</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>播放时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>歌曲名称</source>
        <translation>Song</translation>
    </message>
    <message>
        <source>歌手信息</source>
        <translation>Singer</translation>
    </message>
    <message>
        <source>备注信息</source>
        <translation>Remark</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>相册库正被另一个 Velmora 程序使用，请先关闭它再启动本程序。</source>
        <translation>The album store is in use by another Velmora program. Close that one first, then start this one again.</translation>
    </message>
</context>
<context>
    <name>velmora::Effects</name>
    <message>
        <source>随机效果</source>
        <translation>Random effect</translation>
    </message>
    <message>
        <source>淡入淡出</source>
        <translation>Fade</translation>
    </message>
    <message>
        <source>从右向左滑入</source>
        <translation>Slide in from right</translation>
    </message>
    <message>
        <source>从左向右滑入</source>
        <translation>Slide in from left</translation>
    </message>
    <message>
        <source>由左侧渐铺至右</source>
        <translation>Reveal from left</translation>
    </message>
    <message>
        <source>由右侧渐铺至左</source>
        <translation>Reveal from right</translation>
    </message>
    <message>
        <source>由右至左推进</source>
        <translation>Expand in from right</translation>
    </message>
    <message>
        <source>由左至右推进</source>
        <translation>Expand in from left</translation>
    </message>
    <message>
        <source>从两侧向中间推进</source>
        <translation>Expand in from both sides</translation>
    </message>
    <message>
        <source>从中间向两边显示</source>
        <translation>Reveal out from middle</translation>
    </message>
    <message>
        <source>从两侧向中间显示</source>
        <translation>Reveal in from both sides</translation>
    </message>
    <message>
        <source>从左向右滚动展开</source>
        <translation>Unroll from left</translation>
    </message>
    <message>
        <source>从右向左滚动展开</source>
        <translation>Unroll from right</translation>
    </message>
    <message>
        <source>从左向右流入</source>
        <translation>Flow in from left</translation>
    </message>
    <message>
        <source>从右向左流入</source>
        <translation>Flow in from right</translation>
    </message>
    <message>
        <source>从下向上滑入</source>
        <translation>Slide in from bottom</translation>
    </message>
    <message>
        <source>从上向下滑入</source>
        <translation>Slide in from top</translation>
    </message>
    <message>
        <source>由上面渐铺至下</source>
        <translation>Reveal from top</translation>
    </message>
    <message>
        <source>由下面渐铺至上</source>
        <translation>Reveal from bottom</translation>
    </message>
    <message>
        <source>从下向上压缩</source>
        <translation>Squeeze in from bottom</translation>
    </message>
    <message>
        <source>从上向下压缩</source>
        <translation>Squeeze in from top</translation>
    </message>
    <message>
        <source>从上下向中间压缩</source>
        <translation>Squeeze to middle (horizontal)</translation>
    </message>
    <message>
        <source>从中间向上下展开</source>
        <translation>Open from middle (horizontal)</translation>
    </message>
    <message>
        <source>从上下向中间合拢</source>
        <translation>Close in from top and bottom</translation>
    </message>
    <message>
        <source>由上至向滚动展开</source>
        <translation>Unroll from top</translation>
    </message>
    <message>
        <source>由下至上滚动展开</source>
        <translation>Unroll from bottom</translation>
    </message>
    <message>
        <source>从下向上流入</source>
        <translation>Flow in from bottom</translation>
    </message>
    <message>
        <source>从上向下流入</source>
        <translation>Flow in from top</translation>
    </message>
    <message>
        <source>由左上渐铺至右下</source>
        <translation>Reveal from top left</translation>
    </message>
    <message>
        <source>由左下渐铺至右上</source>
        <translation>Reveal from bottom left</translation>
    </message>
    <message>
        <source>由右下渐铺至左上</source>
        <translation>Reveal from bottom right</translation>
    </message>
    <message>
        <source>由右上渐铺至左下</source>
        <translation>Reveal from top right</translation>
    </message>
    <message>
        <source>由右下至左上推进</source>
        <translation>Push in from bottom right</translation>
    </message>
    <message>
        <source>由右上至左下推进</source>
        <translation>Push in from top right</translation>
    </message>
    <message>
        <source>由左上至右下推进</source>
        <translation>Push in from top left</translation>
    </message>
    <message>
        <source>由左下至右上推进</source>
        <translation>Push in from bottom left</translation>
    </message>
    <message>
        <source>从四周向中间推进</source>
        <translation>Push in from all sides</translation>
    </message>
    <message>
        <source>从中间向四周显示</source>
        <translation>Reveal out from centre</translation>
    </message>
    <message>
        <source>从四周向中间显示</source>
        <translation>Reveal in to centre</translation>
    </message>
    <message>
        <source>从四角向中间显示</source>
        <translation>Quarters reveal to middle</translation>
    </message>
    <message>
        <source>从四角转动向中间显示</source>
        <translation>Quarters turn in to middle</translation>
    </message>
    <message>
        <source>由左至右曲面显示</source>
        <translation>Curved reveal from left</translation>
    </message>
    <message>
        <source>由右至左曲面显示</source>
        <translation>Curved reveal from right</translation>
    </message>
    <message>
        <source>栏栅从右向左显示</source>
        <translation>Bars in from right</translation>
    </message>
    <message>
        <source>栏栅从左向右显示</source>
        <translation>Bars in from left</translation>
    </message>
    <message>
        <source>栏栅从左至右交叉显示</source>
        <translation>Bars crossing from left</translation>
    </message>
    <message>
        <source>栏栅从右至左交叉显示</source>
        <translation>Bars crossing from right</translation>
    </message>
    <message>
        <source>类长条从右至左随机效果</source>
        <translation>Uneven shred from right</translation>
    </message>
    <message>
        <source>类长条从左至右随机效果</source>
        <translation>Uneven shred from left</translation>
    </message>
    <message>
        <source>类长条从中间至两侧随机效果</source>
        <translation>Uneven shred out from middle</translation>
    </message>
    <message>
        <source>类长条从两侧至中间随机效果</source>
        <translation>Uneven shred in to middle</translation>
    </message>
    <message>
        <source>由上至下曲面显示</source>
        <translation>Curved reveal from top</translation>
    </message>
    <message>
        <source>由下至上曲面显示</source>
        <translation>Curved reveal from bottom</translation>
    </message>
    <message>
        <source>栏栅从向上显示</source>
        <translation>Bars in from bottom</translation>
    </message>
    <message>
        <source>栏栅从上至下交叉显示</source>
        <translation>Bars crossing from top</translation>
    </message>
    <message>
        <source>类长条从下至上随机效果</source>
        <translation>Uneven shred from bottom</translation>
    </message>
    <message>
        <source>类长条从上至下随机效果</source>
        <translation>Uneven shred from top</translation>
    </message>
    <message>
        <source>类长条从中间向上下随机效果</source>
        <translation>Uneven shred out from horizon</translation>
    </message>
    <message>
        <source>类长条从上下向中间随机效果</source>
        <translation>Uneven shred in to horizon</translation>
    </message>
    <message>
        <source>由左上向右下曲面显示</source>
        <translation>Curved reveal from top left</translation>
    </message>
    <message>
        <source>由右上向左下曲面显示</source>
        <translation>Curved reveal from top right</translation>
    </message>
    <message>
        <source>由左下向右上曲面显示</source>
        <translation>Curved reveal from bottom left</translation>
    </message>
    <message>
        <source>由右下向左上曲面显示</source>
        <translation>Curved reveal from bottom right</translation>
    </message>
    <message>
        <source>椭圆向外渐铺显示</source>
        <translation>Oval reveal from centre</translation>
    </message>
    <message>
        <source>椭贺向内渐铺显示</source>
        <translation>Oval reveal to centre</translation>
    </message>
    <message>
        <source>从右下角重复交叉显示</source>
        <translation>Criss-cross from bottom right</translation>
    </message>
    <message>
        <source>从右上角重复交叉显示</source>
        <translation>Criss-cross from top right</translation>
    </message>
    <message>
        <source>从左下角重复交叉返回显示</source>
        <translation>Criss-cross bounce from bottom left</translation>
    </message>
    <message>
        <source>从右下角重复交叉返回显示</source>
        <translation>Criss-cross bounce from bottom right</translation>
    </message>
    <message>
        <source>从右边上下同时交叉显示</source>
        <translation>Criss-cross from right, top and bottom</translation>
    </message>
    <message>
        <source>从左边上下同时交叉显示</source>
        <translation>Criss-cross from left, top and bottom</translation>
    </message>
    <message>
        <source>从底部左右同时交叉显示</source>
        <translation>Criss-cross from bottom, left and right</translation>
    </message>
    <message>
        <source>从上部左右同时交叉显示</source>
        <translation>Criss-cross from top, left and right</translation>
    </message>
    <message>
        <source>从左下和右上角同时交叉显示</source>
        <translation>Criss-cross from bottom left and top right</translation>
    </message>
    <message>
        <source>类长条从右下方向左上角随机效果</source>
        <translation>Uneven shred from bottom right</translation>
    </message>
    <message>
        <source>类长条从右上方向左下角随机效果</source>
        <translation>Uneven shred from top right</translation>
    </message>
    <message>
        <source>类长条从左下方向右上角随机效果</source>
        <translation>Uneven shred from bottom left</translation>
    </message>
    <message>
        <source>类长条从右方和中间向左上和左下角随机效果</source>
        <translation>Uneven shred from right and middle</translation>
    </message>
    <message>
        <source>类长条从左方和中间向右上和右下角随机效果</source>
        <translation>Uneven shred from left and middle</translation>
    </message>
    <message>
        <source>类长条从下方和中间向左上和右上角随机效果</source>
        <translation>Uneven shred from bottom and middle</translation>
    </message>
    <message>
        <source>类长条从上方和中间向左下和右下角随机效果</source>
        <translation>Uneven shred from top and middle</translation>
    </message>
    <message>
        <source>类长条从中间向四角随机效果</source>
        <translation>Uneven shred out to corners</translation>
    </message>
    <message>
        <source>类长条从四周向中间随机效果</source>
        <translation>Uneven shred in to centre</translation>
    </message>
    <message>
        <source>从左上角渐铺显示</source>
        <translation>Diagonal reveal from top left</translation>
    </message>
    <message>
        <source>从右上角渐铺显示</source>
        <translation>Diagonal reveal from top right</translation>
    </message>
    <message>
        <source>从左下角渐铺显示</source>
        <translation>Diagonal reveal from bottom left</translation>
    </message>
    <message>
        <source>从右下角渐铺显示</source>
        <translation>Diagonal reveal from bottom right</translation>
    </message>
    <message>
        <source>从左上角和右下角逆时针斜线扫描</source>
        <translation>Diagonal sweep anticlockwise</translation>
    </message>
    <message>
        <source>从左上角和右下角顺时针斜线扫描</source>
        <translation>Diagonal sweep clockwise</translation>
    </message>
    <message>
        <source>中央星形裂开顺时针旋转</source>
        <translation>Starburst clockwise from centre</translation>
    </message>
    <message>
        <source>三角碎片至左上角</source>
        <translation>Triangle shreds to top left</translation>
    </message>
    <message>
        <source>从右向左斑纹效果</source>
        <translation>Speckles from right</translation>
    </message>
    <message>
        <source>从左向右斑纹效果</source>
        <translation>Speckles from left</translation>
    </message>
    <message>
        <source>从下向上斑纹效果</source>
        <translation>Speckles from bottom</translation>
    </message>
    <message>
        <source>从上向下斑纹效果</source>
        <translation>Speckles from top</translation>
    </message>
    <message>
        <source>向右推进</source>
        <translation>Push right</translation>
    </message>
    <message>
        <source>向左推进</source>
        <translation>Push left</translation>
    </message>
    <message>
        <source>向下推进</source>
        <translation>Push down</translation>
    </message>
    <message>
        <source>向上推进</source>
        <translation>Push up</translation>
    </message>
    <message>
        <source>栏栅不等水平扫描</source>
        <translation>Uneven blinds, horizontal</translation>
    </message>
    <message>
        <source>栏栅不等垂直扫描</source>
        <translation>Uneven blinds, vertical</translation>
    </message>
    <message>
        <source>矩形碎片</source>
        <translation>Rectangle shreds</translation>
    </message>
    <message>
        <source>顺时针扫描</source>
        <translation>Sweep clockwise</translation>
    </message>
    <message>
        <source>逆时针扫描</source>
        <translation>Sweep anticlockwise</translation>
    </message>
    <message>
        <source>长方形顺时针旋转</source>
        <translation>Rotating rectangle</translation>
    </message>
    <message>
        <source>星形顺时针旋转</source>
        <translation>Rotating star</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TFrmAbout</name>
    <message>
        <source>关于 Velmora</source>
        <translation>About Velmora</translation>
    </message>
    <message>
        <source>版本 %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>把照片和MP3歌曲制作成电子相册视频（VCD、SVCD、DVD）。</source>
        <translation>Turns photographs and MP3 songs into slide-show videos (VCD, SVCD, DVD).</translation>
    </message>
    <message>
        <source>本程序使用的程序库及其许可证：</source>
        <translation>Libraries this program uses, with their licences:</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TFrmAddA</name>
    <message>
        <source> 提示：请输入新的相册名称!</source>
        <translation> Note: please enter a name for the new album!</translation>
    </message>
    <message>
        <source> 提示：现输入的相册名称已存在,创建无效!</source>
        <translation> Note: this album exists already and cannot be created!</translation>
    </message>
    <message>
        <source> 提示：当前已经输入的相册名称系统还没有,可以创建!</source>
        <translation> Note: no album has this name yet; it can be created!</translation>
    </message>
    <message>
        <source> 提示：相册名称不能含有 \ / : * ? | &quot; &lt; &gt; 或控制字符,创建无效!</source>
        <translation> Note: no \ / : * ? | &quot; &lt; &gt; or control characters in a name!</translation>
    </message>
    <message>
        <source> 提示：相册名称不能是 . 或 ..,创建无效!</source>
        <translation> Note: an album name cannot be . or ..!</translation>
    </message>
    <message>
        <source> 提示：相册名称太长(最多90字节,一个汉字占2字节),创建无效!</source>
        <translation> Note: too long (90 bytes at most; 2 per Chinese character)!</translation>
    </message>
    <message>
        <source> 提示：相册名称含有无效的文字编码,创建无效!</source>
        <translation> Note: the name holds characters that cannot be stored!</translation>
    </message>
    <message>
        <source>系统已有相册列表(暂无)：</source>
        <translation>Albums so far (none):</translation>
    </message>
    <message>
        <source>系统已有相册列表(共%1个)：</source>
        <translation>Albums so far (%1 in all):</translation>
    </message>
    <message>
        <source>添加相册</source>
        <translation>Add Album</translation>
    </message>
    <message>
        <source>创建新的相册</source>
        <translation>Create a new album</translation>
    </message>
    <message>
        <source>输入新建相册名称：</source>
        <translation>Name of the new album:</translation>
    </message>
    <message>
        <source>创建</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source> 提示：</source>
        <translation> Note:</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TFrmAddM</name>
    <message>
        <source>导入音乐</source>
        <translation>Import Music</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TFrmAddP</name>
    <message>
        <source>导入图片</source>
        <translation>Import Pictures</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TFrmEditP</name>
    <message>
        <source>图片编辑[第[%1]张]</source>
        <translation>Edit Picture [No. [%1]]</translation>
    </message>
    <message>
        <source>图片编辑</source>
        <translation>Edit Picture</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>图片信息编辑：</source>
        <translation>Picture information:</translation>
    </message>
    <message>
        <source>图片题目：</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>停留时间：</source>
        <translation>Seconds:</translation>
    </message>
    <message>
        <source>到全部</source>
        <translation>To all</translation>
    </message>
    <message>
        <source>将当前时间应用到本相册的所有图片</source>
        <translation>Give this dwell time to every picture of the album</translation>
    </message>
    <message>
        <source>变幻效果：</source>
        <translation>Transition effect:</translation>
    </message>
    <message>
        <source>效果预览：</source>
        <translation>Effect preview:</translation>
    </message>
    <message>
        <source>查看控制：</source>
        <translation>Browse:</translation>
    </message>
    <message>
        <source>上一张</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>下一张</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>效果预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>停止预览</source>
        <translation>Stop</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TFrmMain</name>
    <message>
        <source>Velmora2009 V15.18</source>
        <translation>Velmora2009 V15.18</translation>
    </message>
    <message>
        <source>新建相册</source>
        <translation>New album</translation>
    </message>
    <message>
        <source>删除相册</source>
        <translation>Delete album</translation>
    </message>
    <message>
        <source>浏览上幅图片</source>
        <translation>Previous picture</translation>
    </message>
    <message>
        <source>浏览下幅图片</source>
        <translation>Next picture</translation>
    </message>
    <message>
        <source>生成制作</source>
        <translation>Make video</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>编辑图片信息</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>编辑音乐信息</source>
        <translation>Songs</translation>
    </message>
    <message>
        <source>当前项向前移动</source>
        <translation>Move the selected item up</translation>
    </message>
    <message>
        <source>当前项向后移动</source>
        <translation>Move the selected item down</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>MP3音乐文件</source>
        <translation>MP3 music files</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>欢迎使用 Velmora 电子相册：导入照片和歌曲，设置题目、停留时间和过渡效果，一键生成 VCD、SVCD 或 DVD 视频。点击这里查看新版说明。</source>
        <translation>Welcome to Velmora: import photographs and songs, give them titles, dwell times and transition effects, and make a VCD, SVCD or DVD video in one step. Click here to see what is new.</translation>
    </message>
    <message>
        <source>加入音乐</source>
        <translation>Add Songs</translation>
    </message>
    <message>
        <source>加入图片</source>
        <translation>Add Pictures</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TFrmMake</name>
    <message>
        <source>视频文件制作</source>
        <translation>Make Video File</translation>
    </message>
    <message>
        <source>相册《%1》VCD视频文件制作</source>
        <translation>Making a VCD video of the album “%1”</translation>
    </message>
    <message>
        <source>文件已经存在是否要覆盖该文件</source>
        <translation>The file exists already. Replace it?</translation>
    </message>
    <message>
        <source>文件保存</source>
        <translation>Save File</translation>
    </message>
    <message>
        <source>音乐太短,无法同步!请删除部分图片或者添加音乐。</source>
        <translation>The music is too short to sync! Delete some pictures or add music.</translation>
    </message>
    <message>
        <source>错误提示</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>生成相册</source>
        <translation>Make Video</translation>
    </message>
    <message>
        <source>终止生成</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>输出视频格式：</source>
        <translation>Video format:</translation>
    </message>
    <message>
        <source>输出：</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>影音同步设置：</source>
        <translation>Picture and music sync:</translation>
    </message>
    <message>
        <source>自动影音同步</source>
        <translation>Sync to the music</translation>
    </message>
    <message>
        <source>全部图片播放时间：</source>
        <translation>All pictures play:</translation>
    </message>
    <message>
        <source>全部音乐播放时间：</source>
        <translation>All music plays:</translation>
    </message>
    <message>
        <source>视频高级设置：</source>
        <translation>Advanced video settings:</translation>
    </message>
    <message>
        <source>视频背景逐渐淡化效果</source>
        <translation>Fade the picture while it stands</translation>
    </message>
    <message>
        <source>填充背景色</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>当图片的高宽与视频的高宽的比
值不同时将填充图片的背景色。</source>
        <translation>When a picture&apos;s shape differs from the
video&apos;s, the rest is filled with this colour.</translation>
    </message>
    <message>
        <source>颜色设置...</source>
        <translation>Colour...</translation>
    </message>
    <message>
        <source>填充背景图（随机选取下列图片）</source>
        <translation>Background picture (chosen at random)</translation>
    </message>
    <message>
        <source>当图片的高宽与视频的高宽的比
值不同时将填充图片的背景图。</source>
        <translation>When a picture&apos;s shape differs from the
video&apos;s, the rest shows a background picture.</translation>
    </message>
    <message>
        <source>生成预览：</source>
        <translation>Preview:</translation>
    </message>
    <message>
        <source>当前状态：</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>完成进度：0%</source>
        <translation>Progress: 0%</translation>
    </message>
    <message>
        <source>剩余时间：00:00</source>
        <translation>Time left: 00:00</translation>
    </message>
    <message>
        <source>相册生成完毕!</source>
        <translation>The video is ready!</translation>
    </message>
    <message>
        <source>文件生成完毕！请确定查看。</source>
        <translation>The file is ready! Open its folder?</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>创建相册视频文件出错，请重新制作！</source>
        <translation>The video file could not be made. Please make it again!</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>全部图片播放时间:</source>
        <translation>All pictures play: </translation>
    </message>
    <message>
        <source>全部音乐播放时间:</source>
        <translation>All music plays: </translation>
    </message>
    <message>
        <source>共用时间: </source>
        <translation>Time taken: </translation>
    </message>
    <message>
        <source>准备生成...</source>
        <translation>Preparing...</translation>
    </message>
    <message>
        <source>视频文件结构处理...</source>
        <translation>Writing the file structure...</translation>
    </message>
    <message>
        <source>完成进度：</source>
        <translation>Progress: </translation>
    </message>
    <message>
        <source>剩余时间: </source>
        <translation>Time left: </translation>
    </message>
    <message>
        <source>剩余时间：</source>
        <translation>Time left: </translation>
    </message>
    <message>
        <source>其它视频处理！</source>
        <translation>Other video processing!</translation>
    </message>
    <message>
        <source> 时 </source>
        <translation> h </translation>
    </message>
    <message>
        <source> 分 </source>
        <translation> min </translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>同时生成光盘映像</source>
        <translation>Also make a disc image</translation>
    </message>
    <message>
        <source>DVD：生成 DVD 文件夹（每张图片一个章节）和 ISO 映像；
VCD、SVCD：生成 BIN/CUE 映像。</source>
        <translation>DVD: a DVD folder (a chapter per picture) and an ISO image;
VCD, SVCD: a BIN/CUE image.</translation>
    </message>
    <message>
        <source>填充模糊背景</source>
        <translation>Blurred picture</translation>
    </message>
    <message>
        <source>当图片的高宽与视频的高宽的比
值不同时将填充图片本身的模糊放大图。</source>
        <translation>When the picture&apos;s shape differs from the video&apos;s,
the space around it shows the picture itself, enlarged and blurred.</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TImportDialog</name>
    <message>
        <source>正在导入文件：</source>
        <translation>Importing file:</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在导入文件：（%1/%2）</source>
        <translation>Importing file (%1/%2):</translation>
    </message>
    <message>
        <source>有%1个文件无法导入，已跳过：</source>
        <translation>%1 files could not be imported and were skipped:</translation>
    </message>
    <message>
        <source>……另有%1个文件</source>
        <translation>... and %1 more files</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
</context>
<context>
    <name>velmora::ui::TMakeSaveDialog</name>
    <message>
        <source>MPEG文件(*.mpg)</source>
        <translation>MPEG files (*.mpg)</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>MP4文件(*.mp4)</source>
        <translation>MP4 files (*.mp4)</translation>
    </message>
</context>
</TS>
