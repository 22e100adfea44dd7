Attribute VB_Name = "NoFinalBreak"
Sub Main()
End Sub