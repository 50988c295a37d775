<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CLiveAidsController</name>
    <message>
        <location filename="../../app/LiveAidsController.cpp" line="84"/>
        <source>Time-lapse needs the live video.</source>
        <translation>延时拍摄需要实时视频。</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsController.cpp" line="96"/>
        <source>Recording needs the live video.</source>
        <translation>录制需要实时视频。</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsController.cpp" line="147"/>
        <location filename="../../app/LiveAidsController.cpp" line="152"/>
        <source>The video file could not be finished.</source>
        <translation>无法完成视频文件。</translation>
    </message>
</context>
<context>
    <name>CLiveAidsPanel</name>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="62"/>
        <source>Focus peaking colour</source>
        <translation>峰值对焦颜色</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="70"/>
        <source>Sharpness: measuring...</source>
        <translation>清晰度：测量中...</translation>
    </message>
    <message numerus="yes">
        <location filename="../../app/LiveAidsPanel.cpp" line="113"/>
        <source>Next picture in %1 s (%n taken)</source>
        <translation>
            <numerusform>%1 秒后拍下一张（已拍 %n 张）</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="116"/>
        <location filename="../../app/LiveAidsPanel.cpp" line="224"/>
        <location filename="../../app/LiveAidsPanel.cpp" line="384"/>
        <source>Start time-lapse</source>
        <translation>开始延时拍摄</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="129"/>
        <location filename="../../app/LiveAidsPanel.cpp" line="321"/>
        <location filename="../../app/LiveAidsPanel.cpp" line="489"/>
        <source>Live aids</source>
        <translation>实时辅助</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="149"/>
        <source>Focus</source>
        <translation>对焦</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="152"/>
        <source>Focus peaking</source>
        <translation>峰值对焦</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="153"/>
        <source>Marks the sharpest edges of the live picture</source>
        <translation>标出实时画面中最清晰的边缘</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="155"/>
        <source>Colour of the marks</source>
        <translation>标记颜色</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="161"/>
        <source>Sharpness meter</source>
        <translation>清晰度计</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="162"/>
        <source>Turn the focus until the number peaks</source>
        <translation>调节对焦，直到数值达到最高</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="168"/>
        <source>Live stack</source>
        <translation>实时景深合成</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="170"/>
        <source>Turn the focus knob through the object: the picture keeps what was sharpest at every point</source>
        <translation>转动调焦旋钮扫过物体：画面在每一点保留最清晰的内容</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="172"/>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="174"/>
        <source>Starts the live stack again from the next frame</source>
        <translation>从下一帧起重新开始实时景深合成</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="186"/>
        <source>Histogram</source>
        <translation>直方图</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="189"/>
        <source>Show</source>
        <translation>显示</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="191"/>
        <source>Luminance</source>
        <translation>亮度</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="191"/>
        <source>Red</source>
        <translation>红</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="191"/>
        <source>Green</source>
        <translation>绿</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="191"/>
        <source>Blue</source>
        <translation>蓝</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="204"/>
        <source>Time-lapse</source>
        <translation>延时拍摄</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="209"/>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="210"/>
        <source>Every</source>
        <translation>间隔</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="212"/>
        <source>Number of pictures</source>
        <translation>张数</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="212"/>
        <source>Until</source>
        <translation>截止时间</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="213"/>
        <source>End</source>
        <translation>结束</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="231"/>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="233"/>
        <source>With the drawing</source>
        <translation>包含绘图</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="234"/>
        <source>Records the measurements and overlays with the picture</source>
        <translation>将测量和叠加图形与画面一起录制</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="235"/>
        <location filename="../../app/LiveAidsPanel.cpp" line="433"/>
        <source>Record</source>
        <translation>录制</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="278"/>
        <location filename="../../app/LiveAidsPanel.cpp" line="347"/>
        <source>Sharpness: %1 (highest %2)</source>
        <translation>清晰度：%1（最高 %2）</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="332"/>
        <source>Frame skipped: it does not line up with the stack (was the stage moved? Reset starts again here)</source>
        <translation>已跳过一帧：它与合成结果对不齐（载物台移动了吗？点“重置”从这里重新开始）</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="336"/>
        <source>Live aids (stack: %1)</source>
        <translation>实时辅助（合成：%1）</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="354"/>
        <source>Clipped: %1 dark, %2 bright</source>
        <translation>溢出：暗部 %1，亮部 %2</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="382"/>
        <source>Stop time-lapse</source>
        <translation>停止延时拍摄</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="399"/>
        <source>The recording could not be started.</source>
        <translation>无法开始录制。</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="406"/>
        <source>Stop recording</source>
        <translation>停止录制</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="417"/>
        <source>The video file could not be written.</source>
        <translation>无法写入视频文件。</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="422"/>
        <source>The live video was rebuilt.</source>
        <translation>实时视频已重建。</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="435"/>
        <source>Finishing the video file...</source>
        <translation>正在完成视频文件...</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="446"/>
        <source>Saved %1 (%2)</source>
        <translation>已保存 %1（%2）</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="451"/>
        <source>The recording stopped: %1 may be incomplete.</source>
        <translation>录制已停止：%1 可能不完整。</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="450"/>
        <source>Recording stopped</source>
        <translation>录制已停止</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="324"/>
        <source>1 frame merged</source>
        <translation>已合成 1 帧</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="325"/>
        <source>%1 frames merged</source>
        <translation>已合成 %1 帧</translation>
    </message>
    <message>
        <location filename="../../app/LiveAidsPanel.cpp" line="484"/>
        <source>Elapsed %1</source>
        <translation>已录制 %1</translation>
    </message>
</context>
<context>
    <name>CTimeLapse</name>
    <message numerus="yes">
        <location filename="../../app/TimeLapse.cpp" line="26"/>
        <source>Time-lapse stopped after %n picture(s).</source>
        <translation>
            <numerusform>延时拍摄已停止，共拍摄 %n 张。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../app/TimeLapse.cpp" line="34"/>
        <location filename="../../app/TimeLapse.cpp" line="50"/>
        <source>Time-lapse finished: %n picture(s).</source>
        <translation>
            <numerusform>延时拍摄完成：共 %n 张。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../app/TimeLapse.cpp" line="42"/>
        <source>Time-lapse stopped after %n picture(s): the next one could not be saved.</source>
        <translation>
            <numerusform>延时拍摄在拍摄 %n 张后停止：下一张无法保存。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CTimeLapseSchedule</name>
    <message>
        <location filename="../../app/TimeLapseSchedule.cpp" line="20"/>
        <source>The interval must be between 1 second and 24 hours.</source>
        <translation>间隔必须在 1 秒到 24 小时之间。</translation>
    </message>
    <message>
        <location filename="../../app/TimeLapseSchedule.cpp" line="22"/>
        <source>The number of pictures cannot be negative.</source>
        <translation>张数不能为负数。</translation>
    </message>
    <message>
        <location filename="../../app/TimeLapseSchedule.cpp" line="25"/>
        <source>Give a number of pictures or a stop time.</source>
        <translation>请设置张数或截止时间。</translation>
    </message>
    <message>
        <location filename="../../app/TimeLapseSchedule.cpp" line="27"/>
        <source>The stop time has already passed.</source>
        <translation>截止时间已过。</translation>
    </message>
</context>
</TS>
