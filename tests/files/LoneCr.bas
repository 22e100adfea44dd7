Attribute VB_Name = "LoneCr"
Sub Main()
    x = 1'
    y = 2
End Sub
