Attribute VB_Name = "basGenlPrcs"
Option Explicit

Public Declare Function SetWindowPos Lib "user32" (ByVal hwnd As Long, _
    ByVal hWndInsertAfter As Long, ByVal x As Long, ByVal y As Long, _
    ByVal cx As Long, ByVal cy As Long, ByVal wFlags As Long) As Long

Public CurrentUserName As String

Public Sub CenterForm(frm As Form)
    frm.Move (Screen.Width - frm.Width) / 2, (Screen.Height - frm.Height) / 2
End Sub

Public Function Pad(ByVal s As String, ByVal n As Integer) As String
    Pad = Left$(s & Space$(n), n)
End Function



